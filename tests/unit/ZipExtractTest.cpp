#include "tkzip/MemberChoice.h"
#include "tkzip/ZipExtract.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct MemberSpec {
    std::string name;
    std::string data;
    zip_int32_t method = ZIP_CM_DEFLATE;
};

// Reads the whole content of a libzip source that has been written.
std::string SourceBytes(zip_source_t* source)
{
    zip_stat_t stat;
    zip_source_stat(source, &stat);
    std::string bytes(stat.size, '\0');
    zip_source_open(source);
    zip_source_read(source, bytes.data(), bytes.size());
    zip_source_close(source);
    return bytes;
}

// Writes an archive in memory with libzip; a name ending in "/" is a folder entry.
std::string BuildArchive(const std::vector<MemberSpec>& members)
{
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, nullptr);
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, nullptr);
    zip_source_keep(buffer);
    for (const MemberSpec& m : members) {
        if (m.name.back() == '/') {
            zip_dir_add(archive, m.name.c_str(), 0);
            continue;
        }
        zip_source_t* data = zip_source_buffer(archive, m.data.data(), m.data.size(), 0);
        const zip_int64_t index = zip_file_add(archive, m.name.c_str(), data, 0);
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), m.method, 0);
    }
    zip_close(archive);
    std::string bytes = SourceBytes(buffer);
    zip_source_free(buffer);
    return bytes;
}

class MemorySink : public ExtractSink {
public:
    explicit MemorySink(std::size_t capacity = std::string::npos) : capacity_(capacity) {}
    bool Write(const char* data, std::size_t size) override
    {
        if (bytes.size() + size > capacity_)
            return false;
        bytes.append(data, size);
        return true;
    }
    std::string bytes;

private:
    std::size_t capacity_;
};

bool Extract(const std::string& archive, const std::vector<std::string>& targetNames, ExtractSink& sink)
{
    return ExtractMember(zip_source_buffer_create(archive.data(), archive.size(), 0, nullptr), targetNames, sink);
}

// A header field of the first member, at its offsets in the local header and in the central directory.
struct Field {
    std::size_t local;
    std::size_t central;
    int width;
};
constexpr Field Flags{6, 8, 2}, Method{8, 10, 2}, Crc{14, 16, 4}, PackedSize{18, 20, 4}, Size{22, 24, 4};

// Rewrites the field in both headers of the first member, so that the archive stays self-consistent.
std::string Patched(std::string archive, Field field, std::uint32_t (*change)(std::uint32_t))
{
    const std::size_t central = archive.find("PK\x01\x02");
    for (std::size_t at : {field.local, central + field.central}) {
        std::uint32_t value = 0;
        for (int i = 0; i < field.width; ++i)
            value |= static_cast<std::uint32_t>(static_cast<unsigned char>(archive[at + i])) << (8 * i);
        value = change(value);
        for (int i = 0; i < field.width; ++i)
            archive[at + i] = static_cast<char>(value >> (8 * i));
    }
    return archive;
}

const std::string Text = "exam client data, repeated so that it deflates well\n";

std::string Repeated(std::size_t times)
{
    std::string data;
    for (std::size_t i = 0; i < times; ++i)
        data += Text + std::to_string(i);
    return data;
}

} // namespace

TEST(ChooseMember, TakesTheOnlyFileOrTheOneNamedLikeTheTarget)
{
    const std::vector<std::string> gbk = {"\xBF\xBC\xCA\xD4.txt"}; // 考试.txt
    const struct {
        const char* why;
        std::vector<std::string> members;
        std::vector<std::string> targets;
        std::optional<std::size_t> chosen;
    } cases[] = {
        {"only file, any name", {"data/other.bin"}, {"target.exe"}, 0},
        {"folders do not count", {"data/", "data/other.bin", "more/"}, {"target.exe"}, 1},
        {"last component, case ignored", {"a.txt", "Sub/Data.MDB", "b.txt"}, {"data.mdb"}, 1},
        {"whole name must match", {"a.txt", "xdata.mdb", "data.mdb.old"}, {"data.mdb"}, std::nullopt},
        {"first of two matches", {"x/data.mdb", "y/DATA.mdb"}, {"data.mdb"}, 0},
        {"any encoding of the target", {"a.txt", "\xBF\xBC\xCA\xD4.txt"}, {"\xE8\x80\x83.txt", gbk[0]}, 1},
        {"backslash is no separator", {"a.txt", "Sub\\data.mdb"}, {"data.mdb"}, std::nullopt},
        {"no file at all", {"data/"}, {"data"}, std::nullopt},
        {"empty archive", {}, {"a.txt"}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseMember(c.members, c.targets), c.chosen) << c.why;
}

TEST(ExtractMember, WritesTheChosenMembersBytes)
{
    const std::string big = Repeated(4000); // more than one read chunk
    const struct {
        const char* why;
        std::vector<MemberSpec> members;
        std::string expected;
    } cases[] = {
        {"stored", {{"readme.txt", "stored bytes\r\n", ZIP_CM_STORE}}, "stored bytes\r\n"},
        {"deflated, several chunks", {{"bin/app.exe", big}}, big},
        {"empty member", {{"empty.txt", "", ZIP_CM_STORE}}, ""},
        {"chosen by name", {{"a.txt", "a"}, {"Sub/Data.MDB", Text}, {"b.txt", "b"}}, Text},
    };
    for (const auto& c : cases) {
        MemorySink sink;
        EXPECT_TRUE(Extract(BuildArchive(c.members), {"data.mdb"}, sink)) << c.why;
        EXPECT_EQ(sink.bytes, c.expected) << c.why;
    }
}

TEST(ExtractMember, FailsOnBadArchivesAndMembers)
{
    const std::string deflated = BuildArchive({{"a.txt", Repeated(50)}});
    const std::string stored = BuildArchive({{"a.txt", Text, ZIP_CM_STORE}});
    const struct {
        const char* why;
        std::string archive;
    } cases[] = {
        {"not an archive", "plain text, not an archive"},
        {"empty file", ""},
        {"archive cut short", deflated.substr(0, deflated.size() / 2)},
        {"no member named like the target", BuildArchive({{"a.txt", "a"}, {"b.txt", "b"}})},
        {"CRC mismatch, deflated", Patched(deflated, Crc, [](std::uint32_t v) { return v ^ 1; })},
        {"CRC mismatch, stored", Patched(stored, Crc, [](std::uint32_t v) { return v ^ 0x80000000; })},
        {"size larger than the data", Patched(deflated, Size, [](std::uint32_t v) { return v + 1; })},
        {"size smaller than the data", Patched(deflated, Size, [](std::uint32_t v) { return v - 1; })},
        {"deflate stream cut short", Patched(deflated, PackedSize, [](std::uint32_t v) { return v / 2; })},
        {"encrypted", Patched(stored, Flags, [](std::uint32_t v) { return v | 1; })},
        {"bzip2, which the reader could inflate", BuildArchive({{"a.txt", Text, ZIP_CM_BZIP2}})},
        {"unknown method", Patched(stored, Method, [](std::uint32_t) { return std::uint32_t{77}; })},
    };
    for (const auto& c : cases) {
        MemorySink sink;
        EXPECT_FALSE(Extract(c.archive, {"c.txt"}, sink)) << c.why;
    }
}

TEST(ExtractMember, FailsWhenTheSinkRefusesBytes)
{
    MemorySink full(100);
    EXPECT_FALSE(Extract(BuildArchive({{"a.txt", Repeated(50)}}), {"a.txt"}, full));
}
