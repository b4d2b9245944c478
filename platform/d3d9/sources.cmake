target_sources(platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/d3d9.cpp ${CMAKE_CURRENT_LIST_DIR}/raster.cpp)
