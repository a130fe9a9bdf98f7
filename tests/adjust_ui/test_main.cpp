#include "tests/support/gui_test_main.h"

int main(int argc, char** argv) { return RunGuiTests(argc, argv, "kt_adjust_ui_test"); }
