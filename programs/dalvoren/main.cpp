#include "programs/dalvoren/dalvoren_window.h"
#include "programs/run_program.h"

int main(int argc, char** argv) { return kavrel::runProgram<kavrel::dalvoren::Dalvoren>(argc, argv); }
