Where the device is installed (building, room, rack), as free text.
It belongs to one device and is not copied to others.
