#pragma once

#include <boost/shared_ptr.hpp>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sdm/Alignment.h"
#include "sqv/UserProperties.h"

namespace SQV {

/// The view side of an alignment: the model, the view's user properties, and per view row (displayed,
/// non-empty sequences in model order) the aligned characters and aligned secondary structure.
/// Update() refreshes the per-row data after the model changed; the getters answer from the last Update.
class SVAlignment {
public:
    explicit SVAlignment(boost::shared_ptr<SDM::Alignment> alignment);
    virtual ~SVAlignment() = default;

    boost::shared_ptr<SDM::Alignment> GetModelAlignment() const { return alignment_; }
    void SetModelAlignment(boost::shared_ptr<SDM::Alignment> alignment);
    virtual SQC::UserPropertiesBase& GetUserProperties() { return properties_; }

    /// Rebuilds the per-row data when the model changed since the last call; true when it did.
    bool Update();

    /// The row's characters, padded with '-' to the alignment's column count; empty for a row out of range.
    const std::vector<char>& GetAlignedSequence(unsigned row) const;
    /// The row's structure letters for `key` placed in its residue columns ('-' in gap columns); empty when
    /// the sequence has no usable structure for the key (none, or not one letter per residue).
    const std::string& GetAlignedSS(const std::string& key, unsigned row) const;
    unsigned RowCount() const { return unsigned(rows_.size()); }

private:
    struct Row {
        unsigned sequenceIndex;
        std::vector<char> aligned;
        std::map<std::string, std::string> structures;
    };
    std::uint64_t modelStamp() const;
    void rebuildRows();
    static std::string PlaceStructure(const std::string& letters, const std::string& aligned,
                                      unsigned columns);

    boost::shared_ptr<SDM::Alignment> alignment_;
    SQC::UserPropertiesBase properties_;
    std::vector<Row> rows_;
    std::uint64_t builtStamp_ = 0;  // model revision of rows_; 0 forces a rebuild
};

}  // namespace SQV
