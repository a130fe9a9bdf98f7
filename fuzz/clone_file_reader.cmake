kt_fuzz_target(clone_file_reader ${CMAKE_CURRENT_SOURCE_DIR}/clone_file_reader.cpp kt_clone)
