// Catalogue loader: brings the chosen model and bolt variant in from the store.
#pragma once

#include "engine/kvstate.h"

#include <string>

namespace kv {

// Loads s.KolvanID / s.AbNum into s.KvData and the shear tables, converted by
// s.SIFactor. All or nothing: on failure the state keeps everything it held
// before. A model read through the kept connection in the same factor is
// taken as it was read.
void LoadCatalogue(KvState& s);

double GetBoltArea(const KvState& s, double designation);
void ReadBoltPitch(const KvState& s, const KvDataTblC& rec, double& pitchX, double& pitchY, std::string& labelX,
                   std::string& labelY);
double PickPitchMode(double a, double b, double c, std::string& label);
double RoundHalf(double x);

// Folder + file name of the catalogue, "\" turned into the native separator.
std::string CataloguePath(const KvState& s);

}  // namespace kv
