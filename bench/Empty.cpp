// A library with nothing in it: the floor of loading one.
