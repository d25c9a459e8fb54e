The administrative name of the device, usually its fully qualified
host name. It belongs to one device and is not copied to others.
