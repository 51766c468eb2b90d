// kelda convert: old formats in, the current format out, staged projects as
// one assembled file, and its exit statuses.

#include "../../cli/convert.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

class ConvertTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kelda-convert-test-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string file(const std::string& name) const { return (dir_ / name).string(); }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(file(name), std::ios::binary) << text;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    int convert(std::initializer_list<std::string> args) const {
        std::vector<std::string> owned(args);
        return convertCommand({owned.begin(), owned.end()});
    }
    std::size_t filesInFolder() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {})); }

    fs::path dir_;
};

// One format 3.0 block: no moment-EI count, no surcharge table, no p-y
// multipliers; the surcharge line's distance makes three surcharge rows.
const std::string kBlock30 = "\r\n1 0\t1\t0\t2\t2 1 %S%\r\n"
                             "10 12\t1\t1E-5\t60\r\n"
                             "0\t10\t1\t1E9\r\n"
                             "0\r\n"
                             "0\r\n"
                             "60\t12\t12\t0\t60\t0.036\t1\t0\r\n"
                             "0\t36\t100\t20\t5\t24\r\n"
                             "1\r\n"
                             "4 120 \r\n"
                             "0.069444444 0.0  32 0.0  90 0.0  \r\n"
                             "0.069444444 0.0  32 0.0  90 0.0  \r\n"
                             "8\t2\r\n"
                             "-1\t10\r\n"
                             "1\t-10\r\n";

std::string block30(const std::string& title, int stages, int end) {
    std::string b = title + kBlock30 + std::to_string(end) + "\r\n";
    b.replace(b.find("%S%"), 3, std::to_string(stages));
    return b;
}

const std::string kBlock2013 = "\r\n1 0\t1\t0\t2\t2 1 %S% 0\r\n"
                               "10 12\t1\t1E-5\t60\r\n"
                               "0\t10\t1\t1E9\r\n"
                               "0\r\n"
                               "0\r\n"
                               "60\t12\t12\t0\t60\t1\t1\t0\r\n"
                               "0\t36\t100\t20\t5\t24\r\n"
                               "3\r\n"
                               "1\t100\t36\t24\r\n"
                               "2\t20\t36\t24\r\n"
                               "3\t5\t36\t24\r\n"
                               "1\r\n"
                               "4 120 \r\n"
                               "0.069444444 0.0  32 0.0  90 0.0  \r\n"
                               "0.069444444 0.0  32 0.0  90 0.0  \r\n"
                               "8\t2\t1\t1\r\n"
                               "-1\t10\r\n"
                               "1\t-10\r\n";

std::string block2013(const std::string& title, int stages, int end) {
    std::string b = title + kBlock2013 + std::to_string(end) + "\r\n";
    b.replace(b.find("%S%"), 3, std::to_string(stages));
    return b;
}

TEST_F(ConvertTest, Format30ByItsExtension) {
    write("old.kld", block30("Old wall", 1, 0));
    EXPECT_EQ(convert({file("old.kld"), file("new.kl4d")}), 0);
    EXPECT_EQ(read("new.kl4d"), block2013("Old wall", 1, 0));
}

TEST_F(ConvertTest, StagedFormat30BecomesOneAssembledFile) {
    write("old.kld", block30("Old staged wall", 2, 1) + block30(" Stage No : 2", 2, 2));
    EXPECT_EQ(convert({file("old.kld"), file("new.kl4d"), "--format", "3.0"}), 0);
    EXPECT_EQ(read("new.kl4d"), block2013("Old staged wall", 2, 1) + block2013(" Stage No : 2", 2, 2));
    // No stage files beside the input or the output.
    EXPECT_EQ(filesInFolder(), 2u);
}

TEST_F(ConvertTest, CurrentFormatIsWrittenBackUnchanged) {
    const std::string current = block2013("Wall", 1, 0);
    write("wall.dat", current);
    EXPECT_EQ(convert({"--format", "2013", file("wall.dat"), file("copy.kl4d")}), 0);
    EXPECT_EQ(read("copy.kl4d"), current);
}

TEST_F(ConvertTest, ExitStatuses) {
    EXPECT_EQ(convert({file("only-one.kld")}), 64);
    EXPECT_EQ(convert({file("a.kld"), file("b.kl4d"), "--format", "4.0"}), 64);
    EXPECT_EQ(convert({file("a.kld"), file("b.kl4d"), "--format"}), 64);
    EXPECT_EQ(convert({file("missing.kld"), file("b.kl4d")}), 2);
    // A file with an error is not converted: nothing is written.
    write("broken.kl4d", "Wall\r\n1 0\t1\t0\t0\t0 0 1 0\r\n10 twelve\r\n");
    EXPECT_EQ(convert({file("broken.kl4d"), file("out.kl4d")}), 1);
    EXPECT_FALSE(fs::exists(file("out.kl4d")));
    write("good.kld", block30("Old wall", 1, 0));
    EXPECT_EQ(convert({file("good.kld"), file("no-such-folder/out.kl4d")}), 2);
}

} // namespace
