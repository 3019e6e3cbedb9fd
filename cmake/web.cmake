# The web build, configured with emcmake (see `make web`): the game compiled
# to WebAssembly, linked twice from the same objects.
# - build-web/www/: the page (vaelmoor.js and .wasm, index.html, page.js and
#   the terminal xterm.js, from npm at the versions of web/package-lock.json);
# - build-web/vaelmoor-node: the game under node, for piped play.
set(WEB_HOST_DIR ${PROJECT_SOURCE_DIR}/src/platform/web)
set(WEB_PAGE_DIR ${PROJECT_SOURCE_DIR}/web)
set(WWW ${CMAKE_BINARY_DIR}/www)

# The game ends its input by throwing; emscripten turns exceptions off
# unless told. Every wait for the player or the clock unwinds the game's
# stack to the browser's event loop and back (ASYNCIFY); the stack kept
# meanwhile must hold the deepest read, with the streams' own frames.
target_compile_options(vaelmoor_options INTERFACE -fexceptions)
set(WEB_LINK_OPTIONS -fexceptions -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
  "SHELL:--pre-js ${WEB_HOST_DIR}/main_status.js")

target_link_options(vaelmoor PRIVATE ${WEB_LINK_OPTIONS} -sENVIRONMENT=web
  -sMODULARIZE -sEXPORT_ES6 -sEXPORT_NAME=createVaelmoor -lidbfs.js
  -sEXPORTED_RUNTIME_METHODS=FS,addRunDependency,removeRunDependency)
set_target_properties(vaelmoor PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${WWW}
  LINK_DEPENDS ${WEB_HOST_DIR}/main_status.js)

add_executable(vaelmoor-node src/main.cpp)
target_link_libraries(vaelmoor-node PRIVATE vaelmoor_game vaelmoor_realtime)
target_link_options(vaelmoor-node PRIVATE ${WEB_LINK_OPTIONS} -sENVIRONMENT=node
  -sNODERAWFS -sEXIT_RUNTIME "SHELL:--pre-js ${WEB_HOST_DIR}/node_host.js")
set_target_properties(vaelmoor-node PROPERTIES
  LINK_DEPENDS "${WEB_HOST_DIR}/main_status.js;${WEB_HOST_DIR}/node_host.js")
find_program(VAELMOOR_NODE NAMES node nodejs REQUIRED)
configure_file(${WEB_HOST_DIR}/vaelmoor-node.in ${CMAKE_BINARY_DIR}/vaelmoor-node
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
  WORLD_READ WORLD_EXECUTE @ONLY)

# The terminal's files come from npm, exactly as the lock file pins them.
find_program(VAELMOOR_NPM npm REQUIRED)
set(NPM_DIR ${CMAKE_BINARY_DIR}/npm)
set(XTERM ${NPM_DIR}/node_modules/@xterm/xterm)
add_custom_command(OUTPUT ${NPM_DIR}/installed
  COMMAND ${CMAKE_COMMAND} -E make_directory ${NPM_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${WEB_PAGE_DIR}/package.json ${WEB_PAGE_DIR}/package-lock.json ${NPM_DIR}
  COMMAND ${VAELMOOR_NPM} ci --omit=dev --no-audit --no-fund --prefix ${NPM_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${NPM_DIR}/installed
  DEPENDS ${WEB_PAGE_DIR}/package.json ${WEB_PAGE_DIR}/package-lock.json
  COMMENT "Installing the terminal from npm")
set(PAGE_FILES ${WEB_PAGE_DIR}/index.html ${WEB_PAGE_DIR}/page.js)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/page.stamp
  COMMAND ${CMAKE_COMMAND} -E copy ${PAGE_FILES} ${XTERM}/lib/xterm.mjs ${XTERM}/css/xterm.css ${WWW}
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/page.stamp
  DEPENDS ${PAGE_FILES} ${NPM_DIR}/installed
  COMMENT "Putting the page together in ${WWW}")
add_custom_target(vaelmoor_page ALL DEPENDS ${CMAKE_BINARY_DIR}/page.stamp)
