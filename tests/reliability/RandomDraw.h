#pragma once

#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

namespace reliability {

/// The random choices of the reliability tests, from one seeded engine so that a seed replays a run.
class RandomDraw {
public:
    explicit RandomDraw(std::uint32_t seed) : engine(seed) {}

    /// Uniform in [low, high].
    long long Between(long long low, long long high) {
        return std::uniform_int_distribution<long long>(low, high)(engine);
    }
    bool Chance(double probability) { return std::bernoulli_distribution(probability)(engine); }
    template <typename T>
    T OneOf(std::initializer_list<T> values) {
        return *(values.begin() + Between(0, static_cast<long long>(values.size()) - 1));
    }
    /// `length` characters drawn from `alphabet`.
    std::string Text(std::size_t length, const std::string& alphabet) {
        std::string text;
        for (std::size_t i = 0; i < length; ++i)
            text += alphabet[std::size_t(Between(0, static_cast<long long>(alphabet.size()) - 1))];
        return text;
    }
    /// An int from the ranges hosts get wrong: small, negative, huge, and the extremes.
    int HostileInt(int typical) {
        switch (Between(0, 5)) {
            case 0:
                return 0;
            case 1:
                return int(Between(-typical, -1));
            case 2:
                return int(Between(1 << 20, 1 << 30));
            case 3:
                return OneOf({INT32_MIN, INT32_MAX, -1, 1});
            default:
                return int(Between(0, typical));
        }
    }

private:
    std::mt19937 engine;
};

}  // namespace reliability
