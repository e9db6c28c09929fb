// ParseLeadingNumber: the number a host's or user's value text starts with.
#pragma once

// Reads the decimal number at the start of text, after optional blanks: an optional sign, digits
// with '.' as the decimal point and an optional exponent, whatever the locale. False when there is
// none or it is not finite.
bool ParseLeadingNumber(const char* text, double& value);
