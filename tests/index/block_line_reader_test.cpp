#include "index/block_line_reader.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

using namespace harlune;
using harlune::test::TempDir;

namespace {
std::vector<std::string> readAll(const std::string& path, bool* failed = nullptr) {
    BlockLineReader reader;
    EXPECT_TRUE(reader.open(path));
    std::vector<std::string> lines;
    std::string_view line;
    while (!reader.atEnd()) {
        EXPECT_TRUE(reader.next(line));
        lines.emplace_back(line);
    }
    EXPECT_FALSE(reader.next(line));
    if (failed)
        *failed = reader.failed();
    return lines;
}
} // namespace

TEST(BlockLineReader, SplitsLinesLikeTheLineFiles) {
    TempDir dir;
    using Lines = std::vector<std::string>;
    const std::pair<std::string, Lines> cases[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\r\n\r\n\r\nb\r", {"a", "", "", "b"}},
        {"\r\n", {""}},
        {" x \r\n", {" x "}}, // nothing trimmed
        {std::string("n\0l\r\n", 5), {std::string("n\0l", 3)}},
    };
    for (const auto& [bytes, lines] : cases)
        EXPECT_EQ(readAll(dir.write("f.txt", bytes)), lines) << bytes;
}

TEST(BlockLineReader, LinesAcrossAndBeyondItsBuffer) {
    TempDir dir;
    const size_t block = BlockLineReader::kBlockSize;
    // A CR LF split by the block boundary, a line far longer than the buffer, and a last line
    // without a line end.
    std::string first(block - 1, 'a');
    std::string huge(2 * block + 17, 'h');
    std::string bytes = first + "\r\n" + huge + "\r\nz";
    ASSERT_EQ(bytes[block], '\n');
    bool failed = true;
    EXPECT_EQ(readAll(dir.write("f.txt", bytes), &failed),
              (std::vector<std::string>{first, huge, "z"}));
    EXPECT_FALSE(failed);
}

TEST(BlockLineReader, ReportsReadErrorsApartFromTheEnd) {
    TempDir dir;
    dir.write("folder/x", "");
    BlockLineReader reader;
    // Opening a folder works on Linux, reading it fails.
    ASSERT_TRUE(reader.open(dir.file("folder")));
    std::string_view line;
    EXPECT_FALSE(reader.next(line));
    EXPECT_TRUE(reader.failed());
    EXPECT_FALSE(reader.open(dir.file("missing")));
}
