# xrd_library(<target> [SHARED] CLASSES <name>... [HEADERS <file>...] LINKS <target>...)
# One library per folder, static unless SHARED: a library whose state the
# host program and a plug-in must share (one copy of it in the process) is
# shared. Each CLASSES name stands for the pair
# <name>.h / <name>.cpp of the folder; HEADERS adds header-only files. The
# folder is exported as include directory, and only what LINKS names (and what
# that links) is visible to it, so including a header of a higher layer fails
# to compile and calling into it fails to link.
function(xrd_library name)
  cmake_parse_arguments(ARG "SHARED" "" "CLASSES;HEADERS;LINKS" ${ARGN})
  set(sources ${ARG_HEADERS})
  foreach(class ${ARG_CLASSES})
    list(APPEND sources ${class}.h ${class}.cpp)
  endforeach()
  if(ARG_SHARED)
    add_library(${name} SHARED ${sources})
  else()
    add_library(${name} STATIC ${sources})
  endif()
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
endfunction()

# xrd_program(<target>): an executable of ours, which replaces malloc with
# mimalloc when XRD_MIMALLOC is on. Listed before the C library, its malloc
# is the one every library of the process uses. The libraries reach it only
# through a weak symbol (QAFreedMemory), so it is kept as a dependency
# explicitly. xrdallocator.cpp has its heap mapped in huge pages.
function(xrd_program target)
  if(XRD_MIMALLOC)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/xrdallocator.cpp)
    target_link_libraries(${target} PRIVATE
      -Wl,--push-state,--no-as-needed mimalloc -Wl,--pop-state)
  endif()
endfunction()

# xrd_test(<folder> <name> LINKS <target>... [LABELS <label>...])
# One QtTest executable, tests/<folder>/<name>.cpp, registered with CTest and
# run offscreen. It links only the libraries it names.
function(xrd_test folder name)
  cmake_parse_arguments(ARG "" "" "LINKS;LABELS" ${ARGN})
  add_executable(${name} ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/${name}.cpp)
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/common)
  target_link_libraries(${name} PRIVATE ${ARG_LINKS} Qt6::Test)
  xrd_program(${name})
  target_compile_definitions(${name} PRIVATE
    XRD_SOURCE_DIR="${CMAKE_SOURCE_DIR}" XRD_BINARY_DIR="${CMAKE_BINARY_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300 LABELS "suite;${folder};${ARG_LABELS}")
endfunction()
