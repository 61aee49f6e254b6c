int kalmorPlaceholder;
