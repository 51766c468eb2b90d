// The project: one wall problem held in memory. TProgramData holds the scalar
// inputs, the option flags, the file names and the stage bookkeeping, and owns
// the project's grid tables, so that one project is replaced whole on File New
// and File Open by destroying the object and making another.
//
// Files: the wall data file (format 2013, the current one; formats 3.0 and 2.0
// are read on opening) and, for a staged project, one stage file per stage
// beside it (".st1" ... ".st5"), which are the working copies of the stages
// while the project is open. Every file is written atomically (file_io.h): a
// failed save leaves the previous file intact and the project modified.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "kelda/data/file_io.h"
#include "kelda/data/project_tables.h"

namespace kelda::data {

inline constexpr std::string_view kNewFileName = "NewWall.kl4d";
inline constexpr std::string_view kNewTitle = "New Wall";
inline constexpr std::size_t kMaxTitleLength = 80;
inline constexpr int kMaxStages = 5;
// Title line of the block of stage k ≥ 2: this text followed by k.
inline constexpr std::string_view kStageTitle = " Stage No : ";
// Status line of a staged project: this text followed by the current stage.
inline constexpr std::string_view kStageStatus = "Construction Stage Number: ";
// The question of Copy Previous Stage: this text, stage − 1, kCopyStageTo, stage.
inline constexpr std::string_view kCopyStageFrom = "Do you want to copy all information from Stage ";
inline constexpr std::string_view kCopyStageTo = " to Stage ";

// The three layouts the program reads. The numbers are the Open dialog's
// filter indexes.
enum class DataFormat : int { Format2013 = 1, Format30 = 2, Format20 = 3 };

// Filter index of the Open dialog: 1, 2, 3; "All Files" and anything else
// read as format 2.0.
DataFormat FormatFromFilterIndex(int filterIndex);
// A file opened by name (recent files, dropped files, the command line):
// ".kld" (any case) is format 3.0, anything else format 2013.
DataFormat FormatFromFileName(const std::string& fileName);

// The stage file of stage k: the data file's name with its extension replaced
// by ".st" followed by k, in the same folder.
std::string StageFileOf(const std::string& dataFile, int stage);

class TProgramData {
public:
    // A new project.
    TProgramData();
    TProgramData(const TProgramData&) = delete;
    TProgramData& operator=(const TProgramData&) = delete;

    // ---- fields (values held in the units of `Units`; the free height, the
    // water depths and the uniform surcharge in file units: inches and psi in
    // English)
    std::string FileName{kNewFileName};
    std::string StageFileName;
    std::string PreviousFileName;
    std::string Title{kNewTitle}; // one line, at most 80 characters (SetTitle)
    int Units = 1;                // 1 English (lbs, in), 2 SI (kN, m), 3 other (F, L)
    int Increments = 0;
    double IncrementLength = 0.0;
    double MaxDeflection = 100.0;
    double Tolerance = 0.00001;
    double FreeHeight = 0.0;
    double ActiveWidth = 0.0;
    double PYWidth = 0.0;
    double WaterDepthBackfill = 0.0;
    double WaterDepthExcavation = 0.0;
    double PressureFactor = 1.0;
    double BackfillSlope = 0.0; // degrees
    double UniformSurcharge = 0.0;
    // The single-surcharge values of the surcharge line: no dialog edits them;
    // they are carried from the file read to the file written.
    double SurchargeDistance = 0.0;
    double PointSurcharge = 0.0;
    double LineSurcharge = 0.0;
    double StripSurcharge = 0.0;
    double StripWidth = 0.0;
    // The integer of the wall configuration line: the engine's, carried unchanged.
    int ExtraOption = 1;
    int EarthPressureChoice = 0; // 0 none yet, 1 user-specified, 2 triangular, 3 trapezoidal
    bool UserPressure = false;
    bool GeneratedPressure = false;
    bool GeneratePY = true;
    bool UseExternalPY = false;
    bool UsePYMod = false;
    bool UseRestraints = false;
    bool UseConcentratedLoads = false;
    bool UseSprings = false;
    bool UseSurcharge = false;
    bool UseEICurves = false;
    bool LongTerm = false;
    int StageCount = 1;   // 1: not staged
    int CurrentStage = 1; // the stage whose data are in memory
    // Stage files are in format 2013; off only while a format 3.0 project is
    // converted stage by stage.
    bool CurrentFormat = true;
    // The control line's options as last read or written.
    int EarthPressureOption = 0;
    int PYOption = 0;

    ProjectTables& Tables() { return *tables_; }
    const ProjectTables& Tables() const { return *tables_; }

    // ---- the project
    // The state of a new project: defaults, English units, every table emptied
    // and the plain tables given their minimum rows, unmodified.
    void NewProject();
    // Sets the title, cut at the first line break and to 80 characters.
    void SetTitle(std::string_view title);
    // Switches the unit system (clamped to 1..3): English↔SI converts the
    // scalars by fixed factors and every table by its columns' units.
    void SetUnits(int newUnits);
    bool IsModified() const;
    void SetModified(bool modified);

    // ---- files
    // Writes FileName as a single-stage file (with the long-term block when
    // LongTerm is on). Used only while StageCount is 1.
    FileResult WriteDataFile();
    // Writes the current stage's block into StageFileName.
    FileResult WriteStageBlock();
    // Reads a data file into a fresh project (this one, reset first). On a
    // read error the project keeps what was read, with every plain table
    // filled up to its minimum rows, and the message is returned.
    FileResult ReadDataFile(const std::string& fileName, DataFormat format);
    // The same over the text of a data file already in memory; FileName
    // becomes `fileName`.
    FileResult ReadDataText(std::string text, const std::string& fileName, DataFormat format);
    // Reads one stage file into the current project (format 2013, or 3.0
    // while CurrentFormat is off).
    FileResult ReadStageBlock(const std::string& fileName);
    // Cuts a staged data file into its stage files (stage k's lines into
    // StageFileOf(dataFile, k), for k = 1 to StageCount), after deleting the
    // stage files 1 to 5 of that name.
    FileResult SplitIntoStageFiles(const std::string& dataFile);
    // Writes `target` as the concatenation of the stage files 1 to StageCount
    // of `source`; when the names differ, moves those stage files to the
    // stage file names of `target`.
    FileResult AssembleFromStageFiles(const std::string& target, const std::string& source);
    // Only the concatenation, without moving any stage file.
    FileResult WriteAssembledFile(const std::string& target, const std::string& source);
    // Converts the stage files of a staged format 3.0 project to format 2013,
    // one stage after the other; `progress` is told each stage number (the
    // status line shows it).
    FileResult ConvertStagedFormat30(const std::function<void(int)>& progress = {});

    // Opening by name: ReadDataFile; for a staged project the file is split
    // into stage files and, when it was read as format 3.0, each stage is
    // converted to format 2013. A read error is returned, but the opening
    // goes on as for a good file, as the main window does.
    FileResult Open(const std::string& fileName, DataFormat format);
    // File Save: a single-stage project is written with WriteDataFile; a
    // staged one writes the current stage's block and assembles the data
    // file from the stage files.
    FileResult Save();
    // File Save As: FileName becomes `newName`; a staged project is assembled
    // into it from the stage files of the old name, which move to the new one.
    FileResult SaveAs(const std::string& newName);

    // The text of the data file that WriteDataFile writes (the tables of the
    // options that are off are emptied and the control line's options derived,
    // as in WriteDataFile), without writing any file.
    std::string DataFileText();
    // The text of the current stage's block, as WriteStageBlock writes it.
    std::string StageBlockText();

    // ---- construction stages (what the stage dialog and the stage commands
    // do to the stage files)
    // OK of the staged-construction dialog with `stages` (1 to 5): making a
    // project staged, adding, removing and resetting stages.
    FileResult ApplyStageCount(int stages);
    // Changes to stage k; the modified state is the same afterwards.
    FileResult ChangeStage(int stage);
    // Copy Previous Stage (after the user said Yes): the previous stage's data
    // become the current stage's, written into its stage file.
    FileResult CopyPreviousStage();
    bool CanCopyPreviousStage() const { return StageCount > 1 && CurrentStage > 1; }
    std::string CopyPreviousStageQuestion() const;
    // "Construction Stage Number: k" while staged, empty otherwise.
    std::string StageStatusText() const;

private:
    enum class BlockKind { ShortTerm, LongTerm, Stage };

    void prepareForWriting();
    int deriveEarthPressureOption(BlockKind kind);
    int derivePYOption() const;
    void appendBlock(std::string& out, BlockKind kind);
    std::string stageBlockText();
    void fillToMinimumRows();
    FileResult deleteStageFiles(const std::string& dataFile, int first, int last);

    std::unique_ptr<ProjectTables> tables_;
    bool modified_ = false;
};

} // namespace kelda::data
