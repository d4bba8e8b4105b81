// JavaScript the program links (--js-library). SDL's audio output calls two helpers of
// emscripten's own library that only a reference from the program brings in: main() calls
// kelvoLinkAudioHelpers, which depends on them.
mergeInto(LibraryManager.library, {
  kelvoLinkAudioHelpers__deps: ['$autoResumeAudioContext', '$dynCall'],
  kelvoLinkAudioHelpers: function () {},
});
