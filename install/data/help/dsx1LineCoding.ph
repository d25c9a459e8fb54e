Line coding of the WAN line: dsx1B8ZS or dsx1AMI for T1, dsx1HDB3 for E1.
