# Stand-ins for system services that Wine lacks, put into the test prefix's system folder by the tests that use
# them; and the DLL an attacker would plant beside the program, which must never be loaded.
# Each is built into a folder of its own: next to a test program it would be loaded by every test.
function(whorlix_test_double target source name suffix)
  add_library(${target} SHARED ${CMAKE_CURRENT_LIST_DIR}/${source})
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${name} SUFFIX ${suffix}
                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${name})
  target_link_options(${target} PRIVATE ${WHORLIX_STATIC_LINK})
endfunction()
whorlix_test_double(password_double password_double.cpp password .cpl)
whorlix_test_double(mpr_double mpr_double.cpp mpr .dll)
whorlix_test_double(planted_double planted_double.cpp planted .dll)
# Tests find the doubles through these paths.
target_compile_definitions(win_test_support PUBLIC
  WHORLIX_PASSWORD_DOUBLE_UNIX_PATH="$<TARGET_FILE:password_double>"
  WHORLIX_MPR_DOUBLE_UNIX_PATH="$<TARGET_FILE:mpr_double>"
  WHORLIX_PLANTED_DOUBLE_UNIX_PATH="$<TARGET_FILE:planted_double>")
add_dependencies(win_test_support password_double mpr_double planted_double)
