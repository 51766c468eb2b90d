#include <gtest/gtest.h>
#include <sstream>
#include "free_format_reader.h"
#include "run_errors.h"
TEST(FreeFormatReader, Smoke) {
    std::istringstream in("1, 2\t3\r\n4 5\n");
    kelda::FreeFormatReader r(in);
    r.beginRecord();
    EXPECT_EQ(r.readInt("A"), 1);
}
