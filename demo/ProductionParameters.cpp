#include "demo/ProductionParameters.h"

float g_partStartTime = 0.0f;
float g_textWeight = 0.0f;
float g_textThickness = 0.0f;
float g_textAlpha = 0.0f;
float g_bloomRadius = 0.0f;
float g_bloomAlpha = 0.0f;
float g_bloomPower = 0.0f;
float g_tubeScale = 0.0f;
float g_tubeScroll = 0.0f;
kelvo::Matrix g_inverseView = kelvo::Matrix::identity();
float g_tracerUvAdd[2] = {0.0f, 0.0f};
float g_tracerUScale = 0.0f;

void resetProductionParameters() {
    g_partStartTime = 0.0f;
    g_textWeight = 0.0f;
    g_textThickness = 0.0f;
    g_textAlpha = 0.0f;
    g_bloomRadius = 0.0f;
    g_bloomAlpha = 0.0f;
    g_bloomPower = 0.0f;
    g_tubeScale = 0.0f;
    g_tubeScroll = 0.0f;
    g_inverseView = kelvo::Matrix::identity();
    g_tracerUvAdd[0] = 0.0f;
    g_tracerUvAdd[1] = 0.0f;
    g_tracerUScale = 0.0f;
}

void enterPart(int part, float t) {
    g_partStartTime = t;
    if (part == 1) {
        g_textThickness = 0.1f;
        g_textWeight = 0.95f;
        g_bloomRadius = 0.001f;
        g_bloomAlpha = 0.1f;
        g_bloomPower = 3.0f;
    } else if (part == 2) {
        g_bloomAlpha = 5.5f;
        g_bloomPower = 3.0f;
    }
}
