# Comparing two images and listing what differs.
add_executable(bench_compare ${CMAKE_CURRENT_LIST_DIR}/compare_bench.cpp)
target_link_libraries(bench_compare PRIVATE kt_app benchmark::benchmark)
