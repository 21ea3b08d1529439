// A shared library that is no package: it exports nothing a package has.
extern "C" int PlainLibraryAnswer() { return 42; }
