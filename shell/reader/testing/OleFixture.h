#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// .doc files for the reader's tests and benchmarks, written by libgsf's OLE2 writer, so the
// reader is checked against another library's compound files.

// Property values by libgsf's metadata names (GSF_META_NAME_*), written with libgsf's
// property-set writer in the given code page (libgsf's own choice when none is given).
struct MetaData {
    std::optional<int> codePage;
    std::map<std::string, std::string> texts;  // UTF-8
    std::map<std::string, int> integers;
    std::map<std::string, std::uint64_t> times;  // seconds since 1970
};

// Hand-made property sets for what libgsf's writer cannot express (UTF-16 strings, wrong
// offsets): one section of (property id, type, value bytes after the type).
struct RawProperty {
    std::uint32_t pid;
    std::uint16_t type;
    std::string value;
};
std::string propertySetStream(const unsigned char (&formatId)[16],
                              const std::vector<RawProperty>& properties);

// Streams of the root storage by name; a stream holds raw bytes.
using OleStreams = std::map<std::string, std::string>;
std::string makeOleFile(const OleStreams& streams);

// A .doc holding SummaryInformation and, when given, DocumentSummaryInformation.
std::string makeDoc(const MetaData& summary, const MetaData* documentSummary = nullptr);

extern const unsigned char kSummaryFormatId[16];
extern const unsigned char kDocumentSummaryFormatId[16];
