#include "programs/brennic/brennic_window.h"
#include "programs/run_program.h"

int main(int argc, char** argv) { return kavrel::runProgram<kavrel::brennic::Brennic>(argc, argv); }
