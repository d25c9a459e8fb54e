File name of the software image loaded at boot, relative to the load
host's image directory (for example morix.img).
