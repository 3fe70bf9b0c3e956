# scrivlet_test(NAME <name> SOURCES <files...> [LIBS <targets...>] [TIMEOUT <s>])
# A Qt Test executable run headless by CTest; every test gets the support
# library (scripted prompts, fake clock, temporary program folder).
function(scrivlet_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE scrivlet_testsupport ${T_LIBS} Qt6::Test)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;TZ=UTC;ASAN_OPTIONS=detect_leaks=0")
endfunction()

# scrivlet_library(<name> <dir> LIBS <deps...>): a static library of every
# source in <dir>; a folder that holds no source yet gives an empty library.
function(scrivlet_library NAME DIR)
  cmake_parse_arguments(L "" "" "LIBS" ${ARGN})
  file(GLOB SRC CONFIGURE_DEPENDS ${DIR}/*.cpp ${DIR}/*.h)
  list(FILTER SRC EXCLUDE REGEX "/main\\.cpp$")
  if(NOT SRC MATCHES "\\.cpp")
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${NAME}_empty.cpp "// placeholder until the folder has sources\n")
    list(APPEND SRC ${CMAKE_CURRENT_BINARY_DIR}/${NAME}_empty.cpp)
  endif()
  add_library(${NAME} STATIC ${SRC})
  target_link_libraries(${NAME} PUBLIC ${L_LIBS})
endfunction()
