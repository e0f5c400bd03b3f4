list(APPEND CORE_SOURCES app/CommandLine.cpp)
# app/SaverApp.cpp holds the one application object and goes into the executable only.
