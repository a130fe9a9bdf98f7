# Tree building, image to tree and tree to image of a whole image.
add_executable(bench_radiomap ${CMAKE_CURRENT_LIST_DIR}/radiomap_bench.cpp)
target_link_libraries(bench_radiomap PRIVATE kt_radiomap benchmark::benchmark)
