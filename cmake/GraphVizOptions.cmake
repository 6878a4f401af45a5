# Options of `cmake --graphviz` for docs/architecture-targets.svg (scripts/architecture-graph
# copies this file into the build folder as CMakeGraphVizOptions.cmake): the program's own
# targets and how they link; tests, benchmarks, tools and outside libraries are left out.
set(GRAPHVIZ_GRAPH_NAME "relaydesk_targets")
set(GRAPHVIZ_EXTERNAL_LIBS FALSE)
set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)
set(GRAPHVIZ_GENERATE_DEPENDERS FALSE)
set(GRAPHVIZ_IGNORE_TARGETS
    "_tests$" "^fake_zori_" "^bench_" "^fuzz_" "^gtest" "^gmock" "^relaydesk_test_support$"
    "^relaydesk_log_probe$" "^relaydesk_faults$" "^relaydesk-kiosk$" "^relaydesk_icon$"
    "^relaydesk_vips$")
