#include "programs/journal/journal_window.h"
#include "programs/run_program.h"

int main(int argc, char** argv) { return kavrel::runProgram<kavrel::journal::JournalWindow>(argc, argv); }
