Order in which the device tries the places it can load its image from:
net (the load host), self (its own flash memory), or a comma-separated
list such as net,self. With self the flash boot option is not offered.
