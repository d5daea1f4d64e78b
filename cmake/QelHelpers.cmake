# Shared build helpers of the suite.

# qel_add_translation(<target> <ts-file> <qm-name>)
# Turns <ts-file> into <qm-name> with lrelease at build time and embeds it in
# <target> as the resource ":/<qm-name>".
function(qel_add_translation target ts qm)
  get_filename_component(ts_abs ${ts} ABSOLUTE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${qm})
  add_custom_command(OUTPUT ${out}
    COMMAND Qt5::lrelease -silent ${ts_abs} -qm ${out}
    DEPENDS ${ts_abs}
    COMMENT "lrelease ${qm}")
  set(qrc ${CMAKE_CURRENT_BINARY_DIR}/${target}_${qm}.qrc)
  file(WRITE ${qrc} "<RCC><qresource prefix=\"/\"><file alias=\"${qm}\">${out}</file></qresource></RCC>\n")
  set_source_files_properties(${qrc} PROPERTIES OBJECT_DEPENDS ${out})
  target_sources(${target} PRIVATE ${qrc})
endfunction()

# qel_add_qtest(<name> SOURCES ... LIBS ... [ENV ...] [TIMEOUT s] [LABELS ...])
# One Qt Test program registered with CTest. Each test runs offscreen with its
# own HOME, XDG folders and data folder, so no test touches the user's files.
function(qel_add_qtest name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;ENV;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt5::Test ${T_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common)
  add_test(NAME ${name} COMMAND ${name})
  set(home ${CMAKE_BINARY_DIR}/testhome/${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    LABELS "${T_LABELS}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${home};XDG_CONFIG_HOME=${home}/.config;XDG_DATA_HOME=${home}/.local/share;XDG_CACHE_HOME=${home}/.cache;XDG_RUNTIME_DIR=${home}/run;QEL_DATA_DIR=${home}/qel-data;QEL_TEST_HOME=${home};QEL_BIN_DIR=${CMAKE_BINARY_DIR}/bin;QEL_SOURCE_DIR=${PROJECT_SOURCE_DIR};${T_ENV}")
endfunction()

# qel_add_child_dirs()
# Adds every subfolder of the current folder that has a CMakeLists.txt, in
# name order, so parts of the suite can be added without editing their parent.
function(qel_add_child_dirs)
  file(GLOB children RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(dir ${children})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
