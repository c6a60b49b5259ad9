// Bound to the real adapters.
