# Fails when no PostgreSQL server was started for the tests: the PostgreSQL cases of the other
# programs then skip, and a run of ctest on its own would otherwise pass without them.
if("$ENV{SKORVIN_PG_CONNECTION}" STREQUAL "")
  message(FATAL_ERROR "No PostgreSQL server: every PostgreSQL case was skipped. ./test starts one "
                      "(scripts/postgres.sh) and sets SKORVIN_PG_CONNECTION; run ctest from there, or "
                      "leave this test out (ctest -E postgres_server) knowing those cases did not run.")
endif()
message(STATUS "PostgreSQL server for the tests: $ENV{SKORVIN_PG_CONNECTION}")
