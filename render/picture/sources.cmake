# The still pictures: the list and the folder search, file reading, header reading, limits, fit, scaling and
# drawing. Nothing here uses the spiral.
list(APPEND CORE_SOURCES render/picture/PictureFit.cpp render/picture/PictureList.cpp render/picture/JpegInfo.cpp
     render/picture/PictureKinds.cpp
     render/picture/PictureScaler.cpp)
set(PICTURE_WIN_SOURCES render/picture/PictureFolder.cpp render/picture/PictureSource.cpp
    render/picture/PictureFile.cpp render/picture/PictureColours.cpp)
# The header-only resampler from Debian's libstb-dev. Only its own folder is added: all of /usr/include would
# put the host's C library headers in front of mingw's.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/PictureScaler.cpp PROPERTIES COMPILE_OPTIONS
                            "-isystem;/usr/include/stb")
