#pragma once
// The program without its window, for batch work: a project recalculated
// with the program folder's catalogue as on opening, and written as the
// schedule spreadsheet or the project report.
//   nimbo --schedule PROJECT.nimbo --xlsx OUT.xlsx
//   nimbo --schedule PROJECT.nimbo --pdf OUT.pdf
// Each marked room is one line on stderr. No window opens and the log is
// not touched.

namespace nimbo {

// Whether the command line asks for batch work.
bool IsBatch(int argc, char* argv[]);

// 0 when the file is written; 1 with the message on stderr when the
// project, the catalogue or the target fails; 2 for a command line it does
// not understand.
int RunBatch(int argc, char* argv[]);

}  // namespace nimbo
