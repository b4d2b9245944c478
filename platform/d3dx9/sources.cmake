find_package(PNG REQUIRED)
target_sources(platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/d3dx9.cpp ${CMAKE_CURRENT_LIST_DIR}/sprite.cpp)
target_link_libraries(platform PRIVATE PNG::PNG)
