# Opening and saving a whole document.
add_executable(bench_document ${CMAKE_CURRENT_LIST_DIR}/document_bench.cpp)
target_link_libraries(bench_document PRIVATE kt_app benchmark::benchmark)
