#include "programs/precession/precession_window.h"
#include "programs/run_program.h"

int main(int argc, char** argv) { return kavrel::runProgram<kavrel::precession::Precession>(argc, argv); }
