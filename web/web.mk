# The browser build: the game's own sources compiled to WebAssembly by Emscripten into a static
# folder (index.html, zor.js, zor.wasm, zor.data) that any static file server can host.
# Run from the repository root: make -f web/web.mk (the top-level Makefile's `make web`).

EMXX ?= em++
WEB_BUILD ?= web-build
SITE := $(WEB_BUILD)/site
OBJ := $(WEB_BUILD)/obj

# Debian's Emscripten runs its JavaScript tools with the machine's node; a node that is not
# Debian's own does not look in Debian's folder of node modules by itself.
export NODE_PATH := /usr/share/nodejs$(if $(NODE_PATH),:$(NODE_PATH))

SOURCES := $(filter-out platform/platform_desktop.cpp,\
  $(wildcard app/*.cpp world/*.cpp sim/*.cpp render/*.cpp editor/*.cpp platform/*.cpp))
OBJECTS := $(SOURCES:%.cpp=$(OBJ)/%.o)
ASSETS := $(shell find GFX maps -type f -not -name '*.tmp') dot.bmp

CXXFLAGS := -std=c++17 -O2 -Wall -Wextra -I. -MMD -MP
# ASYNCIFY lets the game's nested loops (menu, play, map menu, editor) run unchanged: every wait
# (SDL_Delay) hands control back to the page until the time is up.
LDFLAGS := -O2 -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 -sALLOW_MEMORY_GROWTH=1 \
  -sENVIRONMENT=web -lidbfs.js \
  --preload-file GFX --preload-file maps --preload-file dot.bmp --use-preload-plugins

ifeq ($(shell command -v $(EMXX)),)
$(error $(EMXX) not found: install Debian's emscripten (apt-get install emscripten))
endif

.PHONY: all
all: $(SITE)/zor.js $(SITE)/index.html

$(OBJ)/%.o: %.cpp
	@mkdir -p $(dir $@)
	$(EMXX) $(CXXFLAGS) -c $< -o $@

$(SITE)/zor.js: $(OBJECTS) $(ASSETS) web/web.mk
	@mkdir -p $(SITE)
	$(EMXX) $(OBJECTS) -o $@ $(LDFLAGS)

$(SITE)/index.html: web/index.html
	@mkdir -p $(SITE)
	cp $< $@

-include $(OBJECTS:.o=.d)
