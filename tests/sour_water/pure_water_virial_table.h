// Written by pure_water_virial.py: pure water vapour of the sour-water
// virial equation, largest cubic root. T [K], P [atm], pressure used
// [atm], Z, ln phi.
struct PureWaterVirialRow { double t, p, p_used, z, ln_phi; };
constexpr PureWaterVirialRow kPureWaterVirial[] = {
    {373.15, 10, 10, 0.819288430202398, -0.161186570488637},
    {373.15, 100, 16.7774489539158, 0.548591786700441, -0.2966557059424},
    {298.15, 0.0307, 0.0307, 0.998460109104855, -0.00153869492478677},
    {473.15, 5, 5, 0.974290364067321, -0.0252724871041971},
    {600, 60, 60, 0.866820920446043, -0.11202277852949},
};
