# The fuzz targets and the libraries each one feeds: read by fuzz/ (libFuzzer
# builds) and tests/fuzz/ (the replay of their seeds in the test suite).
set(CORVANE_FUZZ_TARGETS xml_fuzz config_fuzz snapshot_fuzz analyzer_fuzz uart_fuzz gdb_fuzz gdb_description_fuzz)
set(CORVANE_FUZZ_LIBS_xml_fuzz corvane_regmap)
set(CORVANE_FUZZ_LIBS_config_fuzz corvane_link)
set(CORVANE_FUZZ_LIBS_snapshot_fuzz corvane_regmap)
set(CORVANE_FUZZ_LIBS_analyzer_fuzz corvane_ipcheck)
set(CORVANE_FUZZ_LIBS_uart_fuzz corvane_link)
set(CORVANE_FUZZ_LIBS_gdb_fuzz corvane_link)
set(CORVANE_FUZZ_LIBS_gdb_description_fuzz corvane_link)
