# A solver program: its driver and report as a library that the tests, fuzz targets and
# benchmarks link, and the program, a main around it.
function(add_solver_program library program)
  add_library(${library} STATIC driver.cpp prtout.cpp)
  target_include_directories(${library} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${library} PUBLIC core)

  add_executable(${program} main.cpp)
  target_link_libraries(${program} PRIVATE ${library})
  # Linked statically: the program runs once per Save & Run, so its start-up is most of
  # its time, and loading shared libraries was most of that. Static PIE rather than
  # plain static: a run that a core message or an input/output failure ends unwinds to
  # main, and in a plain static program the first unwinding sorts the frame tables of
  # the whole program, where a static PIE looks them up in the sorted table the linker
  # made. Sanitizer runtimes cannot be linked so (and Windows builds are static already).
  if(NOT SUITE_SANITIZE AND NOT WIN32)
    target_link_options(${program} PRIVATE -static-pie)
  endif()
endfunction()
