#pragma once

// The two ways a problem can end the run early. Both are thrown inside the
// engine and caught by the run driver, never outside it.

#include <string>
#include <utility>

namespace kelda {

// An error in the data: the report gets `message` in the layout of an input
// error line, then "END OF ANALYSIS", the plot file its results section.
struct InputError {
    enum class Kind {
        TooMuchData,      // "TOO MUCH DATA FOR AVAILABLE STORAGE"
        StationsNotInOrder, // "ERROR STOP -- STATIONS NOT IN ORDER"
        DataBeyondEnd,    // "ERROR -- NON-ZERO TABLE 4 DATA BEYOND END"
        BadData,          // a record that cannot be read: message names line and item
    };
    Kind kind;
    std::string message;
    std::string detail; // optional second line (where the data file was when it was found)

    static InputError tooMuchData(std::string detail = {}) {
        return {Kind::TooMuchData, "TOO MUCH DATA FOR AVAILABLE STORAGE", std::move(detail)};
    }
    static InputError stationsNotInOrder() {
        return {Kind::StationsNotInOrder, "ERROR STOP -- STATIONS NOT IN ORDER", {}};
    }
    static InputError dataBeyondEnd() {
        return {Kind::DataBeyondEnd, "ERROR -- NON-ZERO TABLE 4 DATA BEYOND END", {}};
    }
    static InputError badData(std::string message) { return {Kind::BadData, std::move(message), {}}; }
};

// A stop requested by a soil routine: the run ends at once, the files are
// closed as they stand, the stop code (when there is one) goes to the console.
struct EngineStop {
    std::string stopCode; // may be empty
};

} // namespace kelda
