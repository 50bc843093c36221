#include "OleFixture.h"

#include <gsf/gsf.h>

#include <memory>
#include <stdexcept>

const unsigned char kSummaryFormatId[16] = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                            0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
const unsigned char kDocumentSummaryFormatId[16] = {0x02, 0xD5, 0xCD, 0xD5, 0x9C, 0x2E, 0x1B, 0x10,
                                                    0x93, 0x97, 0x08, 0x00, 0x2B, 0x2C, 0xF9, 0xAE};

namespace {

struct Unref {
    void operator()(gpointer object) const { g_object_unref(object); }
};

void appendLe(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
}

GValue* newValue(GType type) {
    GValue* value = g_new0(GValue, 1);
    g_value_init(value, type);
    return value;
}

GsfDocMetaData* buildMetaData(const MetaData& data) {
    GsfDocMetaData* meta = gsf_doc_meta_data_new();
    if (data.codePage) {
        GValue* value = newValue(G_TYPE_INT);
        g_value_set_int(value, *data.codePage);
        gsf_doc_meta_data_insert(meta, g_strdup(GSF_META_NAME_CODEPAGE), value);
    }
    for (const auto& [name, text] : data.texts) {
        GValue* value = newValue(G_TYPE_STRING);
        g_value_set_string(value, text.c_str());
        gsf_doc_meta_data_insert(meta, g_strdup(name.c_str()), value);
    }
    for (const auto& [name, number] : data.integers) {
        GValue* value = newValue(G_TYPE_INT);
        g_value_set_int(value, number);
        gsf_doc_meta_data_insert(meta, g_strdup(name.c_str()), value);
    }
    for (const auto& [name, seconds] : data.times) {
        GsfTimestamp* stamp = gsf_timestamp_new();
        gsf_timestamp_set_time(stamp, seconds);
        GValue* value = newValue(GSF_TIMESTAMP_TYPE);
        gsf_timestamp_to_value(stamp, value);
        gsf_timestamp_free(stamp);
        gsf_doc_meta_data_insert(meta, g_strdup(name.c_str()), value);
    }
    return meta;
}

void writeMetaData(GsfOutfile* ole, const char* name, const MetaData& data, bool document) {
    std::unique_ptr<GsfDocMetaData, Unref> meta(buildMetaData(data));
    std::unique_ptr<GsfOutput, Unref> stream(gsf_outfile_new_child(ole, name, FALSE));
    if (!gsf_doc_meta_data_write_to_msole(meta.get(), stream.get(), document))
        throw std::runtime_error("libgsf could not write the property set");
    gsf_output_close(stream.get());
}

// Runs write on a fresh compound file and returns the file's bytes.
template <typename Write>
std::string withOleFile(Write write) {
    std::unique_ptr<GsfOutput, Unref> sink(gsf_output_memory_new());
    std::unique_ptr<GsfOutfile, Unref> ole(gsf_outfile_msole_new(sink.get()));
    write(ole.get());
    gsf_output_close(GSF_OUTPUT(ole.get()));
    auto* memory = GSF_OUTPUT_MEMORY(sink.get());
    const guint8* bytes = gsf_output_memory_get_bytes(memory);
    return std::string(reinterpret_cast<const char*>(bytes),
                       static_cast<std::size_t>(gsf_output_size(sink.get())));
}

}  // namespace

std::string propertySetStream(const unsigned char (&formatId)[16],
                              const std::vector<RawProperty>& properties) {
    std::string body;
    std::string table;
    std::size_t valuesStart = 8 + 8 * properties.size();
    for (const RawProperty& property : properties) {
        appendLe(table, property.pid, 4);
        appendLe(table, valuesStart + body.size(), 4);
        appendLe(body, property.type, 4);
        body += property.value;
        body.append((4 - body.size() % 4) % 4, '\0');
    }
    std::string stream;
    appendLe(stream, 0xFFFE, 2);
    appendLe(stream, 0, 2);
    appendLe(stream, 0x00020006, 4);
    stream.append(16, '\0');
    appendLe(stream, 1, 4);
    stream.append(reinterpret_cast<const char*>(formatId), 16);
    appendLe(stream, 48, 4);
    appendLe(stream, valuesStart + body.size(), 4);
    appendLe(stream, properties.size(), 4);
    return stream + table + body;
}

std::string makeOleFile(const OleStreams& streams) {
    return withOleFile([&](GsfOutfile* ole) {
        for (const auto& [name, bytes] : streams) {
            std::unique_ptr<GsfOutput, Unref> stream(
                gsf_outfile_new_child(ole, name.c_str(), FALSE));
            gsf_output_write(stream.get(), bytes.size(),
                             reinterpret_cast<const guint8*>(bytes.data()));
            gsf_output_close(stream.get());
        }
    });
}

std::string makeDoc(const MetaData& summary, const MetaData* documentSummary) {
    return withOleFile([&](GsfOutfile* ole) {
        writeMetaData(ole, "\005SummaryInformation", summary, false);
        if (documentSummary)
            writeMetaData(ole, "\005DocumentSummaryInformation", *documentSummary, true);
    });
}
