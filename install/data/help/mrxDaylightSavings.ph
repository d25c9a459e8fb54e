Daylight saving time rule: none, usa, europe, australia or
southernHemisphere.
