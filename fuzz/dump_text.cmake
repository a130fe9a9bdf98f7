kt_fuzz_target(dump_text ${CMAKE_CURRENT_LIST_DIR}/dump_text.cpp kt_app kt_core kt_test_support)
