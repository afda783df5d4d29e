#include "tkzip/ZipExtract.h"

#include <memory>
#include <optional>

#include <zlib.h>

#include "tkzip/MemberChoice.h"

namespace {

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct MemberCloser {
    void operator()(zip_file_t* member) const { zip_fclose(member); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;
using Member = std::unique_ptr<zip_file_t, MemberCloser>;

constexpr std::size_t ChunkSize = 64 * 1024;

Archive OpenArchive(zip_source_t* source)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    zip_error_fini(&error);
    if (archive == nullptr)
        zip_source_free(source);
    return Archive(archive);
}

std::vector<std::string> MemberNames(zip_t* archive)
{
    std::vector<std::string> names;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        names.emplace_back(name != nullptr ? name : "");
    }
    return names;
}

bool IsExtractable(const zip_stat_t& stat)
{
    const zip_uint64_t needed = ZIP_STAT_SIZE | ZIP_STAT_CRC | ZIP_STAT_COMP_METHOD | ZIP_STAT_ENCRYPTION_METHOD;
    return (stat.valid & needed) == needed && stat.encryption_method == ZIP_EM_NONE &&
           (stat.comp_method == ZIP_CM_STORE || stat.comp_method == ZIP_CM_DEFLATE);
}

// Copies the member's data to the sink while counting it and summing its CRC-32.
bool CopyChecked(zip_file_t* member, const zip_stat_t& stat, ExtractSink& sink)
{
    std::vector<char> chunk(ChunkSize);
    uLong crc = crc32(0L, Z_NULL, 0);
    zip_uint64_t total = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(member, chunk.data(), chunk.size());
        if (got <= 0)
            return got == 0 && total == stat.size && crc == stat.crc;
        const auto size = static_cast<std::size_t>(got);
        total += size;
        if (total > stat.size || !sink.Write(chunk.data(), size))
            return false;
        crc = crc32(crc, reinterpret_cast<const Bytef*>(chunk.data()), static_cast<uInt>(size));
    }
}

} // namespace

bool ExtractMember(zip_source_t* source, const std::vector<std::string>& targetNames, ExtractSink& sink)
{
    const Archive archive = OpenArchive(source);
    if (!archive)
        return false;
    const std::optional<std::size_t> index = ChooseMember(MemberNames(archive.get()), targetNames);
    zip_stat_t stat;
    if (!index || zip_stat_index(archive.get(), *index, 0, &stat) != 0 || !IsExtractable(stat))
        return false;
    const Member member(zip_fopen_index(archive.get(), *index, 0));
    return member && CopyChecked(member.get(), stat, sink);
}
