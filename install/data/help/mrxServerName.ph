Name of the device as a LAT server, as LAT hosts see it. Belongs to one
device; not copied.
