Community string that SNMP managers must use to read the device.
Changing it also changes what this program must use for the device.
