// Placeholder until the adapters land.
