# The two commands of the README, and the pieces they are made of.
JOBS ?= $(shell nproc)
BUILD ?= build
SAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
CMAKE_FLAGS ?=

.PHONY: all deps check-deps build test test-plain test-sanitize test-fuzz run acceptance monkey bench clean

all: build

deps:
	@scripts/install-deps

# Includes run one way: no file includes a higher layer or a module that its
# module does not link, and no include cycle spans folders.
check-deps:
	@scripts/check-dependencies

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

test: test-plain test-sanitize test-fuzz

test-plain: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE fuzz

$(SAN_BUILD)/build.ninja: | deps
	cmake -S . -B $(SAN_BUILD) -G Ninja -DZELL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug $(CMAKE_FLAGS)

test-sanitize: deps $(SAN_BUILD)/build.ninja
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j $(JOBS) -LE fuzz

$(FUZZ_BUILD)/build.ninja: | deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DZELL_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

test-fuzz: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target zell_fuzzers
	cd $(FUZZ_BUILD) && ctest --output-on-failure -j $(JOBS) -L fuzz --no-tests=ignore

# The program on the X display, against the simulated device on 127.0.0.1
# (stopped when the program ends) of the kind DEVICE_KIND (coupler or
# controller), or against DEVICE=<address>, or with DEVICE=none as started
# from a desktop, without a connection on its command line. The simulator takes a free port,
# so that several runs on one machine, or a service on the device port, do
# not keep it from starting.
CORVANE = $(BUILD)/Products/Corvane/corvane
SIMULATOR = $(BUILD)/Tests/DeviceSimulator/device-simulator
DEVICE_KIND ?= coupler
# SIM_ARGS go to the simulator as well, e.g. SIM_ARGS="--fault ServiceStatus:service=0x116,status=0x8213"
# (device-simulator --help lists the faults it can play).
SIM_ARGS ?=
run:
	@if [ -z "$$DISPLAY" ]; then \
		echo "make run needs an X display and DISPLAY is not set: run it on a desktop, or headless with: xvfb-run make run"; \
		exit 0; \
	fi; \
	$(MAKE) --no-print-directory build || exit 1; \
	if [ "$(DEVICE)" = none ]; then exec $(CORVANE) $(ARGS); fi; \
	if [ -n "$(DEVICE)" ]; then \
		case "$(DEVICE)" in COM*|/dev/*) kind=RS232 ;; *) kind=TCPIP ;; esac; \
		exec $(CORVANE) "/Connection:$$kind:$(DEVICE)" $(ARGS); \
	fi; \
	portfile=$$(mktemp); \
	$(SIMULATOR) --port 0 --kind "$(DEVICE_KIND)" $(SIM_ARGS) > $$portfile & sim=$$!; \
	trap 'kill $$sim 2>/dev/null; wait $$sim 2>/dev/null; rm -f $$portfile' EXIT INT TERM; \
	for i in $$(seq 50); do [ -s $$portfile ] || ! kill -0 $$sim 2>/dev/null && break; sleep 0.1; done; \
	if ! [ -s $$portfile ]; then echo "The simulated $(DEVICE_KIND) did not start (see above)"; exit 1; fi; \
	port=$$(cat $$portfile); \
	$(CORVANE) /ConnectionType:TCPIP \
		"/ConnectionSettings:<?xml version='1.0'?><TCPIP IP-Address='127.0.0.1' ServicePort='$$port' />" $(ARGS)

# The real program driven by real X input against the simulated device, as `make run` starts them:
# the acceptance walk of Tests/Acceptance/walk.txt with and without a window manager, and random input
# on the sanitized build for MONKEY_SECONDS with MONKEY_SEED. Failures keep screenshots and stderr.
ACCEPTANCE = /usr/bin/python3 Tests/Acceptance/acceptance.py
MONKEY_SECONDS ?= 120
MONKEY_SEED ?= 1
acceptance: build
	$(ACCEPTANCE) walk --build $(BUILD)

monkey: deps $(SAN_BUILD)/build.ninja
	cmake --build $(SAN_BUILD) -j $(JOBS)
	$(ACCEPTANCE) monkey --build $(SAN_BUILD) --seconds $(MONKEY_SECONDS) --seed $(MONKEY_SEED)

bench: build
	@found=0; for b in $$(find $(BUILD) -type f -perm -u+x -name '*Benchmark'); do found=1; echo "== $$b"; $$b; done; \
	[ $$found -eq 1 ] || echo "No benchmarks are built yet."

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(FUZZ_BUILD)
