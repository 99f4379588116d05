// Keeps the generator library non-empty before any generator exists.
