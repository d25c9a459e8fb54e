Community string that SNMP managers must use to change settings.
