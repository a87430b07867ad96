# Native libFuzzer build of the fuzz targets, with AddressSanitizer and UBSan; tools/run-fuzz calls it:
#   make -f fuzz/build.mk OUT=build/fuzz                     every target, as OUT/bin/NAME_fuzz
#   make -f fuzz/build.mk OUT=build/fuzz build/fuzz/bin/ini_fuzz
# Every fuzz/*_fuzz.cpp is a target and every src/core/*.cpp is compiled, so a new target or core
# file needs no edit here; the linker takes from the archive only the objects a target uses.
# Objects are rebuilt when their source, a header they include or this file changes.
OUT ?= build/fuzz
CXX := clang++
SANITIZE := -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
CXXFLAGS := -std=c++20 -O1 -g -Wall -Wextra -Werror -fno-omit-frame-pointer $(SANITIZE) -I src

TARGETS := $(patsubst fuzz/%.cpp,$(OUT)/bin/%,$(wildcard fuzz/*_fuzz.cpp))
CORE_OBJECTS := $(patsubst src/core/%.cpp,$(OUT)/obj/core/%.o,$(wildcard src/core/*.cpp))

all: $(TARGETS)
.PHONY: all

$(TARGETS): $(OUT)/bin/%: $(OUT)/obj/%.o $(OUT)/core.a
	@mkdir -p $(@D)
	$(CXX) $(SANITIZE) $^ -o $@

# Made afresh, so that objects of deleted sources do not linger in it.
$(OUT)/core.a: $(CORE_OBJECTS)
	rm -f $@
	ar rcs $@ $^

$(OUT)/obj/core/%.o: src/core/%.cpp fuzz/build.mk
	@mkdir -p $(@D)
	$(CXX) $(CXXFLAGS) -MMD -MP -c $< -o $@

$(OUT)/obj/%.o: fuzz/%.cpp fuzz/build.mk
	@mkdir -p $(@D)
	$(CXX) $(CXXFLAGS) -MMD -MP -c $< -o $@

-include $(wildcard $(OUT)/obj/*.d $(OUT)/obj/core/*.d)
