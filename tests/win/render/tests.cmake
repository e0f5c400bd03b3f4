# Rendering engine against the real GDI and the real picture decoder.
set(RENDER_FIXTURES ${CMAKE_CURRENT_BINARY_DIR}/render_fixtures)
set(RENDER_FIXTURE_FILES ${RENDER_FIXTURES}/green640x480.jpg ${RENDER_FIXTURES}/red300x600.jpg
    ${RENDER_FIXTURES}/photo1920x1080.jpg)
# Test pictures made by ImageMagick at build time: solid colours for placement, a busy one for the benchmark.
add_custom_command(OUTPUT ${RENDER_FIXTURE_FILES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${RENDER_FIXTURES}
  COMMAND convert -size 640x480 "xc:#00C000" -strip -interlace none -quality 95 ${RENDER_FIXTURES}/green640x480.jpg
  COMMAND convert -size 300x600 "xc:#D00000" -strip -interlace none -quality 95 ${RENDER_FIXTURES}/red300x600.jpg
  COMMAND convert -size 1920x1080 -seed 3 plasma:fractal -strip -interlace none -quality 85
          ${RENDER_FIXTURES}/photo1920x1080.jpg
  VERBATIM)
add_custom_target(render_fixtures DEPENDS ${RENDER_FIXTURE_FILES})
# The benchmarks use the same pictures.
set_target_properties(render_fixtures PROPERTIES FIXTURE_DIR ${RENDER_FIXTURES})

add_library(render_test_support STATIC ${CMAKE_CURRENT_LIST_DIR}/RenderTestSupport.cpp)
target_link_libraries(render_test_support PUBLIC win_test_support)
target_include_directories(render_test_support PUBLIC ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_CURRENT_LIST_DIR}/../support)
target_compile_definitions(render_test_support PRIVATE RENDER_FIXTURES_UNIX="${RENDER_FIXTURES}")
add_dependencies(render_test_support render_fixtures)

foreach(name frames pictures thread)
  whorlix_win_test(render_${name} ${CMAKE_CURRENT_LIST_DIR}/${name}_test.cpp ${CMAKE_CURRENT_LIST_DIR}/render_test.rc)
  target_link_libraries(win_render_${name} PRIVATE render_test_support)
  target_include_directories(win_render_${name} PRIVATE ${PROJECT_SOURCE_DIR}/res)
endforeach()
