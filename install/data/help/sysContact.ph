Name and contact details of the person responsible for this device,
as free text (for example a name and a telephone number). Shown to SNMP
managers; it has no effect on the device's operation.
