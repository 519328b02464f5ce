// Replaced by the platform layers.
