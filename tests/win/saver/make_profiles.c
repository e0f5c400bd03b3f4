// Writes the colour profiles the screen tests tag their photos with into the folder given: sRGB (the reference
// screen), Display P3 (ICC v4, parametric curves, as phones store photos), one compatible with Adobe RGB (1998) (v2,
// pure gamma) and an odd one that swaps red and blue, padded with a private tag so that a JPEG needs three APP2
// chunks to carry it. Built with the native tree (lcms2).
#include <lcms2.h>
#include <stdio.h>
#include <unistd.h>

static cmsHPROFILE Rgb(double version, const double xy[6], cmsToneCurve* curve) {
    cmsCIExyY white;
    cmsWhitePointFromTemp(&white, 6504);
    const cmsCIExyYTRIPLE primaries = {{xy[0], xy[1], 1}, {xy[2], xy[3], 1}, {xy[4], xy[5], 1}};
    cmsToneCurve* curves[3] = {curve, curve, curve};
    cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsFreeToneCurve(curve);
    cmsSetProfileVersion(profile, version);
    return profile;
}

// Saves the profile in the current folder and closes it.
static int Save(cmsHPROFILE profile, const char* name) {
    return cmsSaveProfileToFile(profile, name) & cmsCloseProfile(profile);
}

int main(int argc, char** argv) {
    static unsigned char padding[150000];
    const double srgbCurve[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    const double p3[6] = {0.680, 0.320, 0.265, 0.690, 0.150, 0.060};
    const double adobe[6] = {0.64, 0.33, 0.21, 0.71, 0.15, 0.06};
    const double swapped[6] = {0.15, 0.06, 0.30, 0.60, 0.64, 0.33}; // sRGB's primaries, red and blue traded
    if (argc != 2 || chdir(argv[1]) != 0)
        return 2;
    cmsHPROFILE odd = Rgb(2.4, swapped, cmsBuildParametricToneCurve(NULL, 4, srgbCurve));
    const int ok = cmsWriteRawTag(odd, (cmsTagSignature)0x77686c78, padding, sizeof padding) &&
                   Save(odd, "swapped.icc") && Save(cmsCreate_sRGBProfile(), "srgb.icc") &&
                   Save(Rgb(4.3, p3, cmsBuildParametricToneCurve(NULL, 4, srgbCurve)), "p3.icc") &&
                   Save(Rgb(2.1, adobe, cmsBuildGamma(NULL, 563.0 / 256)), "adobe.icc");
    if (!ok)
        fprintf(stderr, "make_profiles: cannot write the profiles into %s\n", argv[1]);
    return ok ? 0 : 1;
}
