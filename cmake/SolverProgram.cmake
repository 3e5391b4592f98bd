# A solver program: its driver and report (the sources given after the program's name)
# as a library that the tests, fuzz targets and benchmarks link, and the program, a main
# around it.
function(add_solver_program library program)
  add_library(${library} STATIC ${ARGN})
  target_include_directories(${library} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${library} PUBLIC core)

  add_executable(${program} main.cpp)
  target_link_libraries(${program} PRIVATE ${library})
  # Linked statically: the program runs once per Save & Run, so its start-up is most of
  # its time, and loading shared libraries was most of that. Plain static rather than
  # static PIE, which relocates its data pages at every start: the program never
  # unwinds (run_process leaves the process where a run ends), so it never needs the
  # frame tables that a plain static program would have to sort first. Sanitizer
  # runtimes cannot be linked so (and Windows builds are static already).
  if(NOT SUITE_SANITIZE AND NOT WIN32)
    target_link_options(${program} PRIVATE -static)
  endif()
endfunction()
