# Stand-ins for system services that Wine lacks; placed beside the program under test.
add_library(password_double SHARED ${CMAKE_CURRENT_LIST_DIR}/password_double.cpp)
# Built into folders of their own: next to a test program they would be loaded by every test.
set_target_properties(password_double PROPERTIES PREFIX "" OUTPUT_NAME "password" SUFFIX ".cpl"
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/password)
target_link_options(password_double PRIVATE ${WHORLIX_STATIC_LINK})
add_library(mpr_double SHARED ${CMAKE_CURRENT_LIST_DIR}/mpr_double.cpp)
set_target_properties(mpr_double PROPERTIES PREFIX "" OUTPUT_NAME "mpr" SUFFIX ".dll"
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/mpr)
target_link_options(mpr_double PRIVATE ${WHORLIX_STATIC_LINK})
# Tests find the doubles through these paths.
target_compile_definitions(win_test_support PUBLIC
  WHORLIX_PASSWORD_DOUBLE_UNIX_PATH="$<TARGET_FILE:password_double>"
  WHORLIX_MPR_DOUBLE_UNIX_PATH="$<TARGET_FILE:mpr_double>")
add_dependencies(win_test_support password_double mpr_double)
