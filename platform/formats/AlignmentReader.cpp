#include "formats/AlignmentReader.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "formats/InputLoader.h"
#include "formats/ModelBuilder.h"
#include "formats/Parsers.h"
#include "formats/ResidueText.h"
#include "formats/TextLines.h"

namespace Formats {

namespace {

struct FormatInfo {
    Format format;
    const char* name;
    const char* aliases[4];
};

const FormatInfo kFormats[] = {
    {Format::Fasta, "fasta", {"fa", "afa", "a2m", "a3m"}},
    {Format::Clustal, "clustal", {"aln", "clustalw", nullptr, nullptr}},
    {Format::Stockholm, "stockholm", {"sto", "stk", nullptr, nullptr}},
    {Format::Phylip, "phylip", {"phy", nullptr, nullptr, nullptr}},
    {Format::Pir, "pir", {"nbrf", nullptr, nullptr, nullptr}},
    {Format::Msf, "msf", {"gcg", "pileup", nullptr, nullptr}},
    {Format::Nexus, "nexus", {"nex", "nxs", nullptr, nullptr}},
    {Format::Selex, "selex", {"slx", nullptr, nullptr, nullptr}},
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

const char kUtf8Bom[] = "\xEF\xBB\xBF";

bool LooksLikePhylipHeader(std::string_view line) {
    std::string_view rest;
    std::string_view second;
    const std::string_view first = FirstWord(line, rest);
    const std::string_view columns = FirstWord(rest, second);
    const auto digits = [](std::string_view word) {
        return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c));
        });
    };
    return digits(first) && digits(columns);
}

bool IsMsfHeader(std::string_view line) {
    if (StartsWith(line, "!!") && line.find("_MULTIPLE_ALIGNMENT") != std::string_view::npos) return true;
    if (Trim(line) == "PileUp") return true;  // GCG's aligner puts its name first
    return line.find("MSF:") != std::string_view::npos && line.find("..") != std::string_view::npos;
}

bool IsNexusHeader(std::string_view line) {
    return Lower(std::string(Trim(line).substr(0, 6))) == "#nexus";
}

// A SELEX file may start right with its rows: a name, then only residues, gaps and blanks. Returns the
// column where the residues start, or npos.
std::size_t SelexResiduesColumn(std::string_view line) {
    std::string_view residues;
    FirstWord(line, residues);
    const bool residuesOnly = !residues.empty() && std::all_of(residues.begin(), residues.end(), [](char c) {
        return std::isalpha(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_' || c == ' ' ||
               c == '*' || c == '~';
    });
    return residuesOnly ? std::size_t(residues.data() - line.data()) : std::string_view::npos;
}

// One such line could be any two words: SELEX needs a second row with its residues in the same column.
bool StartsSelexBlock(std::string_view line, TextLines& lines) {
    const std::size_t column = SelexResiduesColumn(line);
    if (column == std::string_view::npos) return false;
    std::string_view next;
    while (lines.next(next)) {
        if (!IsBlank(next)) return SelexResiduesColumn(next) == column;
    }
    return false;
}

bool Parse(const std::string& text, Format format, const ReadOptions& options, ParsedAlignment& parsed,
           ReadError& error) {
    if (options.alignmentIndex > 0 && format != Format::Stockholm)
        return NoSuchAlignment(options.alignmentIndex, 1, error);
    switch (format) {
        case Format::Fasta:
            return ParseFasta(text, options.maxBytes, parsed, error);
        case Format::Clustal:
            return ParseClustal(text, parsed, error);
        case Format::Stockholm:
            return ParseStockholm(text, options.alignmentIndex, options.alignmentChosen, parsed, error);
        case Format::Phylip:
            return ParsePhylip(text, parsed, error);
        case Format::Pir:
            return ParsePir(text, parsed, error);
        case Format::Msf:
            return ParseMsf(text, parsed, error);
        case Format::Nexus:
            return ParseNexus(text, parsed, error);
        case Format::Selex:
            return ParseSelex(text, parsed, error);
        case Format::Auto:
            break;
    }
    return Fail(error, 0,
                "unrecognised format: expected FASTA, Clustal, Stockholm, PHYLIP, PIR, MSF, NEXUS or SELEX");
}

std::vector<ReadError> NamedWarnings(std::vector<ReadError> warnings, const std::string& name) {
    for (ReadError& warning : warnings) warning.file = name;
    return warnings;
}

ReadResult Failure(const std::string& name, ReadError error) {
    ReadResult result;
    error.file = name;
    result.error = std::move(error);
    return result;
}

}  // namespace

std::string ReadError::ToString() const {
    if (line > 0) return file + ":" + std::to_string(line) + ": " + message;
    return file + ": " + message;
}

Format DetectFormat(const std::string& text) {
    TextLines lines(text);
    std::string_view line;
    while (lines.next(line)) {
        if (lines.number() == 1 && StartsWith(line, kUtf8Bom))
            line.remove_prefix(3);  // editors on Windows add it
        if (IsBlank(line)) continue;
        if (StartsWith(line, "# STOCKHOLM")) return Format::Stockholm;
        if (IsNexusHeader(line)) return Format::Nexus;
        if (StartsWith(line, "#=")) return Format::Selex;
        if (StartsWith(line, "#A3M")) return Format::Fasta;
        if (line[0] == '#' || (line[0] == '[' && line.find(']') != std::string_view::npos))
            continue;  // comments (SELEX, HH-suite FASTA) and a NEXUS comment above its header
        if (IsMsfHeader(line)) return Format::Msf;
        if (StartsWith(line, "CLUSTAL") ||
            line.find("multiple sequence alignment") != std::string_view::npos) {
            return Format::Clustal;
        }
        if (line.size() >= 4 && line[0] == '>' && line[3] == ';') return Format::Pir;
        if (line[0] == '>') return Format::Fasta;
        if (LooksLikePhylipHeader(line)) return Format::Phylip;
        return StartsSelexBlock(line, lines) ? Format::Selex : Format::Auto;
    }
    return Format::Auto;
}

std::optional<Format> ParseFormatName(const std::string& name) {
    const std::string lower = Lower(name);
    if (lower == "auto") return Format::Auto;
    for (const FormatInfo& info : kFormats) {
        if (lower == info.name) return info.format;
        for (const char* alias : info.aliases) {
            if (alias && lower == alias) return info.format;
        }
    }
    return std::nullopt;
}

std::string FormatName(Format format) {
    for (const FormatInfo& info : kFormats) {
        if (info.format == format) return info.name;
    }
    return "auto";
}

std::vector<std::string> FormatNames() {
    std::vector<std::string> names;
    for (const FormatInfo& info : kFormats) names.push_back(info.name);
    return names;
}

ReadResult ReadAlignmentText(const std::string& text, const std::string& name, const ReadOptions& options) {
    ReadError error;
    if (text.size() > options.maxBytes) {
        return Failure(name, ReadError{name, 0,
                                       "input larger than " + std::to_string(options.maxBytes) +
                                           " bytes; refusing to read it"});
    }
    if (!InputLoader::checkText(text, error)) return Failure(name, error);
    const std::string body = StartsWith(text, kUtf8Bom) ? text.substr(3) : text;
    if (body.find_first_not_of(" \t\r\n\f\v") == std::string::npos) {
        return Failure(name, ReadError{name, 0, "empty file: expected an alignment"});
    }
    const Format format = options.format == Format::Auto ? DetectFormat(body) : options.format;
    ParsedAlignment parsed;
    if (!Parse(body, format, options, parsed, error)) return Failure(name, error);
    if (!parsed.records.empty() && !HasResidues(parsed)) {
        return Failure(name, ReadError{name, 0,
                                       "the alignment holds no residues (every sequence is empty or only "
                                       "gaps): nothing to draw"});
    }
    if (const std::size_t columns = ColumnCount(parsed);
        options.maxColumns > 0 && columns > options.maxColumns) {
        return Failure(name, ReadError{name, 0,
                                       "the alignment has " + std::to_string(columns) +
                                           " columns: " + options.columnLimitReason,
                                       true});
    }
    ReadResult result;
    result.warnings = NamedWarnings(std::move(parsed.warnings), name);
    result.alignment = ModelBuilder::Build(parsed, error);
    if (!result.alignment) return Failure(name, error);
    result.format = format;
    return result;
}

ReadResult ReadAlignmentStream(std::istream& in, const std::string& name, const ReadOptions& options) {
    std::string text;
    ReadError error;
    if (!InputLoader(options.maxBytes).load(in, text, error)) return Failure(name, error);
    return ReadAlignmentText(text, name, options);
}

ReadResult ReadAlignmentFile(const std::string& path, const ReadOptions& options) {
    if (path == "-") return ReadAlignmentStream(std::cin, "<stdin>", options);
    std::error_code code;
    if (std::filesystem::is_directory(path, code))
        return Failure(path, ReadError{path, 0, "is a directory, not an alignment file"});
    std::ifstream in(path, std::ios::binary);
    if (!in) return Failure(path, ReadError{path, 0, std::string("cannot open: ") + std::strerror(errno)});
    return ReadAlignmentStream(in, path, options);
}

}  // namespace Formats
