#pragma once

#include <map>
#include <string>

namespace SQC {

/// Keys of the user display properties that the renderer reads and writes.
struct UserProperties {
    static const std::string FontChanged;           // bool
    static const std::string WVFitToWidthValueKey;  // int: columns per block row, written by the renderer
    static const std::string SSHelixColorKey;       // colour
    static const std::string SSSheetColorKey;       // colour
    static const std::string SSCoilColorKey;        // colour
    static const std::string SSGapColorKey;         // colour
    static const std::string RulerDragOffset;       // int: the ruler's origin column
    static const std::string CurrSeqIndex;          // int: the current row, -1 for none
};

/// A store of typed user properties. Reads leave the output alone and answer false when the key is
/// absent or holds another type. Colours use the red-in-low-byte packing of Common::Color.
class UserPropertiesBase {
public:
    virtual ~UserPropertiesBase() = default;

    virtual bool GetBoolProperty(const std::string& key, bool& value) const;
    virtual bool GetIntProperty(const std::string& key, int& value) const;
    virtual bool GetColorProperty(const std::string& key, unsigned& value) const;
    virtual bool GetStringProperty(const std::string& key, std::string& value) const;
    virtual void SetBoolProperty(const std::string& key, bool value);
    virtual void SetIntProperty(const std::string& key, int value);
    virtual void SetColorProperty(const std::string& key, unsigned value);
    virtual void SetStringProperty(const std::string& key, const std::string& value);
    virtual void RemoveProperty(const std::string& key);
    bool HasProperty(const std::string& key) const { return values_.count(key) != 0; }

private:
    enum class Type { Bool, Int, Color, String };
    struct Value {
        Type type;
        long long number;
        std::string text;
    };
    bool lookup(const std::string& key, Type type, const Value*& out) const;
    std::map<std::string, Value> values_;
};

/// Writes the secondary-structure colours hosts show by default: red helices, golden sheets, grey coil
/// and gaps, readable on white and on the colour schemes.
void SetDefaultStructureColours(UserPropertiesBase& properties);

/// Characters of aligned sequences.
struct SequenceConstants {
    /// '-', '.', ' ' and '~' are gaps.
    static bool IsGap(char c) { return c == '-' || c == '.' || c == ' ' || c == '~'; }
    /// Missing data ('?' of PHYLIP and NEXUS): a residue that was not observed, unlike a gap.
    static constexpr char kMissing = '?';
    static bool IsMissing(char c) { return c == kMissing; }
};

}  // namespace SQC
