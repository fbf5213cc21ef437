// Written by its own change.
