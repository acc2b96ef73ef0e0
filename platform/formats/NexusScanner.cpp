#include "formats/NexusScanner.h"

#include "formats/ResidueText.h"

namespace Formats {

namespace {
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}
bool EndsWord(char c) {
    return IsSpace(c) || c == ';' || c == '=' || c == '[';
}
}  // namespace

char NexusScanner::take() {
    if (atEnd()) return '\0';
    const char c = text_[pos_++];
    // "\r\n" counts once; a lone '\r' ends a line too.
    if (c == '\n' || (c == '\r' && peek() != '\n')) ++line_;
    return c;
}

bool NexusScanner::skipSpace(ReadError& error) {
    while (!atEnd()) {
        if (IsSpace(peek())) {
            take();
        } else if (peek() == '[') {
            const long start = line_;
            while (!atEnd() && peek() != ']') take();
            if (atEnd()) return Fail(error, start, "comment '[' is never closed with ']'");
            take();
        } else {
            break;
        }
    }
    return true;
}

bool NexusScanner::quoted(char quote, std::string& out, ReadError& error) {
    const long start = line_;
    take();
    while (!atEnd()) {
        const char c = take();
        if (c != quote) {
            out.push_back(c);
        } else if (peek() == quote) {
            out.push_back(take());  // a doubled quote stands for itself
        } else {
            return true;
        }
    }
    return Fail(error, start, std::string("quoted text is never closed with ") + quote);
}

bool NexusScanner::word(std::string& out, ReadError& error) {
    out.clear();
    if (!skipSpace(error)) return false;
    if (atEnd()) return true;
    if (peek() == '\'' || peek() == '"') return quoted(peek(), out, error);
    if (peek() == ';' || peek() == '=') {
        out.push_back(take());
        return true;
    }
    while (!atEnd() && !EndsWord(peek())) out.push_back(take());
    return true;
}

bool NexusScanner::skipCommand(ReadError& error) {
    const long start = line_;
    std::string token;
    while (true) {
        if (!word(token, error)) return false;
        if (token.empty()) return Fail(error, start, "command does not end with ';'");
        if (token == ";") return true;
    }
}

}  // namespace Formats
