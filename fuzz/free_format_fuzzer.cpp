// The free-format reader alone: any text, read as a mix of integer and real
// items and title lines, must give values or one of the reader's messages.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "free_format_reader.h"
#include "run_errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte chooses the sequence of read statements.
    const std::uint8_t plan = data[0];
    std::istringstream in(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    kelda::FreeFormatReader reader(in);
    try {
        for (int statement = 0; statement < 64; ++statement) {
            const int kind = (plan >> (statement % 8)) & 1;
            if (statement % 5 == 4) {
                std::string title;
                if (!reader.readTextLine(title, 70, 80)) break;
                if (title.size() != 80) std::abort();
                continue;
            }
            reader.beginRecord();
            for (int item = 0; item < 1 + statement % 4; ++item) {
                if (kind == 0) {
                    reader.readInt("THE ITEM");
                } else if (!std::isfinite(reader.readReal("THE ITEM"))) {
                    std::abort();
                }
            }
        }
    } catch (const kelda::InputError& e) {
        if (e.message.rfind("ERROR -- DATA FILE LINE ", 0) != 0) std::abort();
    }
    return 0;
}
