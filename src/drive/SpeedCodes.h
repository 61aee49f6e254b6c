#pragma once
// Speed codes of the vendor families and the maximum speed factors known from the model alone.

// The code a vendor-family drive takes for speed factor x (1..255): families 1, 2 and 5 by
// model, 3 by the Plextor rules, 6 and 7 for all models. -1 when the family has no codes or
// the model no code table (families 0, 4, 8, 9 and unknown models of 1, 2, 5).
int SpeedCode(int family, int model, int factor);

// The maximum speed factor of families 1, 2, 3, 5, 6 and 7, known by model; -1 for unknown
// models and for the families whose maximum is read from the drive (0, 4, 8, 9).
int TableMaxSpeedFactor(int family, int model);
