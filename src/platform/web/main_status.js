// Linked in front of the game (--pre-js), for the page and for node alike.
// Once the game has waited for the player, main() has returned to the
// browser or to node in the middle of the game (the wait unwinds it) and its
// real status comes only when it ends: emscripten 3.1.6 forgets that one and
// keeps the first. The game's end and its status go to the host instead.
Module.onRuntimeInitialized = () => {
  const main = Module._main;
  Module._main = (argc, argv) => {
    const status = main(argc, argv);
    if (!Asyncify.currData) return Module.host.ended(status);
    Asyncify.whenDone().then(Module.host.ended);
    throw 'unwind';  // main goes on: nothing to end yet
  };
};
