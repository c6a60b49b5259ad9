// Bound to the fakes.
