Class of the multilink endpoint discriminator this end sends: null,
local (locally assigned text), ipAddress, macAddress, magicNumber or
directoryNumber (a telephone number).
