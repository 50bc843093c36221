#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The 16-byte format id of a property set, as stored (little-endian GUID).
using FormatId = std::array<unsigned char, 16>;

// {F29F85E0-4FF9-1068-AB91-08002B27B3D9}, SummaryInformation.
extern const FormatId kSummaryInformation;
// {D5CDD502-2E9C-101B-9397-08002B2CF9AE}, DocumentSummaryInformation.
extern const FormatId kDocumentSummaryInformation;

// One section of a property-set stream. Values are decoded only when asked for, so a
// hostile table of many entries costs its entries and nothing more. Every offset and
// length is checked against the stream; a value that fails a check is absent.
class PropertySection {
  public:
    // The section of that format id, or nothing when the stream holds no such section.
    // The stream must outlive the section.
    static std::optional<PropertySection> find(std::string_view stream, const FormatId& id);

    // The section's code page (PID_CODEPAGE), 1252 when it names none.
    std::uint16_t codePage() const { return m_codePage; }
    // A VT_LPSTR (in the section's code page) or VT_LPWSTR value, as UTF-8.
    std::optional<std::string> text(std::uint32_t pid) const;
    // A signed or unsigned integer value of up to 64 bits.
    std::optional<std::int64_t> integer(std::uint32_t pid) const;
    // A VT_FILETIME value: 100-ns units, a time since 1601 or a duration.
    std::optional<std::uint64_t> fileTime(std::uint32_t pid) const;

  private:
    struct Entry {
        std::uint32_t pid;
        std::uint32_t offset;  // from the start of the section
    };

    PropertySection(std::string_view bytes, std::vector<Entry> entries);
    // The value's bytes after its 4-byte type field, and that type.
    std::optional<std::string_view> value(std::uint32_t pid, std::uint16_t& type) const;

    std::string_view m_bytes;  // from the section's start to the end of the stream
    std::vector<Entry> m_entries;
    std::uint16_t m_codePage = 1252;
};
