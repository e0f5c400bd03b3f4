# Run-mode input, the password services and the preview life cycle. Everything that touches the
# password flag in the registry lives in this one program, so no parallel test sees it changed.
whorlix_win_test(saver ${CMAKE_CURRENT_LIST_DIR}/saver_window_test.cpp ${CMAKE_CURRENT_LIST_DIR}/saver_process_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/saver_screen_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/SaverTestSupport.cpp)
# The cases on a drive that stops answering run on that drive only (win.drive_stalls below).
set_tests_properties(win.saver PROPERTIES ENVIRONMENT "WHORLIX_WINE_TEST=1;GTEST_FILTER=-Stalled/*")

# Photos for the screen checks, made by ImageMagick at build time, with the references the screen is scored
# against as raw 8-bit RGB at 1024 x 768: an area average (box filter) of the noisy photo, and a bilinear
# enlargement of the built-in picture. scripts/ holds three photos of one colour each, named in scripts that no one
# ANSI code page spells all of (Latin, Korean, Japanese).
set(SAVER_FIXTURES ${CMAKE_CURRENT_BINARY_DIR}/saver_fixtures)
set(SAVER_FIXTURE_FILES ${SAVER_FIXTURES}/noisy4032x3024.jpg ${SAVER_FIXTURES}/noisy1024x768.rgb
    ${SAVER_FIXTURES}/stripes4032x3024.jpg ${SAVER_FIXTURES}/builtin1024x768.rgb ${SAVER_FIXTURES}/turned6.jpg
    ${SAVER_FIXTURES}/turned3.jpg ${SAVER_FIXTURES}/turned8.jpg ${SAVER_FIXTURES}/scripts/café.jpg
    ${SAVER_FIXTURES}/scripts/사진.jpg ${SAVER_FIXTURES}/scripts/写真.jpg ${SAVER_FIXTURES}/lime640x480.jpg)
# The upright test picture is a 480 x 640 portrait in four coloured quarters; turnedN.jpg is it stored the way
# a camera whose Exif orientation is N stores it (the test adds the Exif block).
set(QUARTERS -size 240x320 xc:red -size 240x320 xc:lime +append ( -size 240x320 xc:blue -size 240x320 xc:yellow
    +append ) -append)
add_custom_command(OUTPUT ${SAVER_FIXTURE_FILES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SAVER_FIXTURES}
  COMMAND convert -size 1008x756 -seed 5 plasma:fractal -resize 4032x3024! -seed 6 -attenuate 0.5 +noise Gaussian
          -strip -interlace none -quality 90 ${SAVER_FIXTURES}/noisy4032x3024.jpg
  COMMAND convert ${SAVER_FIXTURES}/noisy4032x3024.jpg -filter Box -resize 1024x768! -depth 8
          rgb:${SAVER_FIXTURES}/noisy1024x768.rgb
  COMMAND convert -size 2x1 xc:black -fill white -draw "point 1,0" -write mpr:pair +delete -size 4032x3024
          tile:mpr:pair -strip -interlace none -quality 95 ${SAVER_FIXTURES}/stripes4032x3024.jpg
  COMMAND convert ${PROJECT_SOURCE_DIR}/res/builtin.jpg -filter Triangle -resize 1024x768! -depth 8
          rgb:${SAVER_FIXTURES}/builtin1024x768.rgb
  COMMAND convert ${QUARTERS} -rotate -90 -strip -quality 95 ${SAVER_FIXTURES}/turned6.jpg
  COMMAND convert ${QUARTERS} -rotate 180 -strip -quality 95 ${SAVER_FIXTURES}/turned3.jpg
  COMMAND convert ${QUARTERS} -rotate 90 -strip -quality 95 ${SAVER_FIXTURES}/turned8.jpg
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SAVER_FIXTURES}/scripts
  COMMAND convert -size 640x480 xc:red -strip -quality 95 ${SAVER_FIXTURES}/scripts/café.jpg
  COMMAND convert -size 640x480 xc:blue -strip -quality 95 ${SAVER_FIXTURES}/scripts/사진.jpg
  COMMAND convert -size 640x480 xc:lime -strip -quality 95 ${SAVER_FIXTURES}/scripts/写真.jpg
  COMMAND convert -size 640x480 xc:lime -strip -quality 95 ${SAVER_FIXTURES}/lime640x480.jpg
  DEPENDS ${PROJECT_SOURCE_DIR}/res/builtin.jpg
  VERBATIM)
# Photos tagged with colour profiles (made by the native tree's make_profiles), and the screen each is to give on an
# sRGB monitor, converted from the photo's own profile by lcms through ImageMagick: flat patches of saturated
# colours above a busy photo, stored 4:4:4 so that decoders agree. wide.rgb is the untagged photo on a Display P3
# monitor.
set(COLOURS ${SAVER_FIXTURES}/colours)
set(TAGGED p3 adobe swapped)
set(COLOUR_FIXTURE_FILES ${COLOURS}/untagged.jpg ${COLOURS}/untagged.rgb ${COLOURS}/wide.rgb ${COLOURS}/p3.icc)
foreach(tag ${TAGGED})
  list(APPEND COLOUR_FIXTURE_FILES ${COLOURS}/${tag}.jpg ${COLOURS}/${tag}.rgb)
  list(APPEND TAG_COMMANDS COMMAND convert ${COLOURS}/patches.png -profile ${COLOURS}/${tag}.icc -sampling-factor 1x1
       -quality 95 ${COLOURS}/${tag}.jpg COMMAND convert ${COLOURS}/${tag}.jpg -profile ${COLOURS}/srgb.icc -depth 8
       rgb:${COLOURS}/${tag}.rgb)
endforeach()
add_custom_command(OUTPUT ${COLOUR_FIXTURE_FILES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${COLOURS}
  COMMAND ${WHORLIX_DESK_STANDIN_DIR}/../rig/make_profiles ${COLOURS}
  COMMAND convert -size 128x384 xc:red xc:lime xc:blue xc:cyan xc:magenta xc:yellow "xc:#E0A080" "xc:#606060" +append
          ( -size 1024x384 -seed 7 plasma:fractal ) -append ${COLOURS}/patches.png
  COMMAND convert ${COLOURS}/patches.png -sampling-factor 1x1 -quality 95 ${COLOURS}/untagged.jpg
  COMMAND convert ${COLOURS}/untagged.jpg -depth 8 rgb:${COLOURS}/untagged.rgb
  COMMAND convert ${COLOURS}/untagged.jpg -profile ${COLOURS}/srgb.icc -profile ${COLOURS}/p3.icc -depth 8
          rgb:${COLOURS}/wide.rgb
  ${TAG_COMMANDS}
  VERBATIM)
add_custom_target(saver_fixtures DEPENDS ${SAVER_FIXTURE_FILES} ${COLOUR_FIXTURE_FILES})
set_target_properties(saver_fixtures PROPERTIES FIXTURE_DIR ${SAVER_FIXTURES})
add_dependencies(win_saver saver_fixtures)
target_compile_definitions(win_saver PRIVATE SAVER_FIXTURES_UNIX="${SAVER_FIXTURES}")

# The photos named in scripts again under a Western code page (1252), where the Japanese name is the one it
# cannot spell.
add_test(NAME win.saver_western COMMAND win_saver --gtest_filter=Pictures/SaverPicture.*/PhotosNamedInAnyScript*)
set_tests_properties(win.saver_western PROPERTIES TIMEOUT 600 RESOURCE_LOCK display
                     ENVIRONMENT "WHORLIX_WINE_TEST=1;WHORLIX_LOCALE=C.UTF-8")

# The screen test again on desks of several monitors, one row each, heads in X screen coordinates with the primary
# first: a smaller monitor right of the primary; one left of it (negative coordinates); three, one of them above.
# Monitors of different heights leave parts of the desk's rectangle outside every monitor.
set(DESKS "right=1024x768+0+0,800x600+1024+84" "left=1024x768+800+0,800x600+0+168"
    "three=1024x768+0+600,800x600+1024+684,800x600+112+0")
foreach(desk ${DESKS})
  string(REGEX MATCH "^[a-z]+" name ${desk})
  string(REGEX REPLACE "^[a-z]+=" "" heads ${desk})
  add_test(NAME win.desk_${name} COMMAND ${CMAKE_CURRENT_LIST_DIR}/../desk/desk.sh ${heads} ${WHORLIX_DESK_STANDIN_DIR}
           $<TARGET_FILE:win_saver> --gtest_filter=SaverScreen.EveryMonitor*)
  # Each desk has a display of its own, and they take turns on the desk's Wine prefix.
  set_tests_properties(win.desk_${name} PROPERTIES TIMEOUT 600 RESOURCE_LOCK desk_prefix)
endforeach()

# The saver with its picture folder on a drive that stops answering (win/rig): the native build's stall_fs, beside
# the desks' stand-in.
add_test(NAME win.drive_stalls COMMAND ${CMAKE_CURRENT_LIST_DIR}/../rig/stalled-drive.sh ${WHORLIX_DESK_STANDIN_DIR}/../rig/stall_fs
         $<TARGET_FILE:win_saver> --gtest_filter=Stalled/*)
set_tests_properties(win.drive_stalls PROPERTIES TIMEOUT 600 RESOURCE_LOCK display ENVIRONMENT "WHORLIX_WINE_TEST=1")
