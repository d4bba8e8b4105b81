// The D3DX-9-shaped helpers the engine calls: matrix inversion and the orthographic projection,
// the effect framework (ID3DXEffect, D3DXCreateEffect) and the texture loader
// (D3DXCreateTextureFromFileInMemoryEx). They work on any IDirect3DDevice9: the effect and the
// loader reach the device only through its interface.
#pragma once

#include "platform/d3d9/d3d9.h"

// ---------------------------------------------------------------------------------------------
// Math
// ---------------------------------------------------------------------------------------------
struct D3DXMATRIX : D3DMATRIX {};

struct D3DXVECTOR4 {
    float x, y, z, w;
};

// Writes the inverse of m into out and returns out; for a matrix whose determinant is exactly 0
// returns null and leaves out (and determinant) untouched. determinant may be null.
D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* out, float* determinant, const D3DXMATRIX* m);

// Left-handed orthographic projection of a w x h volume centred on the axis, z from zn to zf.
D3DXMATRIX* D3DXMatrixOrthoLH(D3DXMATRIX* out, float w, float h, float zn, float zf);

// ---------------------------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------------------------
inline constexpr UINT D3DX_DEFAULT = 0xFFFFFFFFu;
inline constexpr UINT D3DX_DEFAULT_NONPOW2 = 0xFFFFFFFEu;
inline constexpr UINT D3DX_FROM_FILE = 0xFFFFFFFDu;

inline constexpr DWORD D3DX_FILTER_NONE = 1;
inline constexpr DWORD D3DX_FILTER_POINT = 2;
inline constexpr DWORD D3DX_FILTER_LINEAR = 3;
inline constexpr DWORD D3DX_FILTER_TRIANGLE = 4;
inline constexpr DWORD D3DX_FILTER_BOX = 5;
inline constexpr DWORD D3DX_FILTER_MIRROR_U = 0x10000;
inline constexpr DWORD D3DX_FILTER_MIRROR_V = 0x20000;
inline constexpr DWORD D3DX_FILTER_MIRROR_W = 0x40000;
inline constexpr DWORD D3DX_FILTER_MIRROR = 0x70000;
inline constexpr DWORD D3DX_FILTER_DITHER = 0x80000;

enum D3DXIMAGE_FILEFORMAT : DWORD {
    D3DXIFF_BMP = 0,
    D3DXIFF_JPG = 1,
    D3DXIFF_TGA = 2,
    D3DXIFF_PNG = 3,
    D3DXIFF_DDS = 4,
    D3DXIFF_PPM = 5,
    D3DXIFF_DIB = 6,
    D3DXIFF_HDR = 7,
    D3DXIFF_PFM = 8,
};

struct D3DXIMAGE_INFO {
    UINT Width;
    UINT Height;
    UINT Depth;
    UINT MipLevels;
    D3DFORMAT Format;
    D3DRESOURCETYPE ResourceType;
    D3DXIMAGE_FILEFORMAT ImageFileFormat;
};

struct PALETTEENTRY {
    BYTE peRed, peGreen, peBlue, peFlags;
};

inline constexpr DWORD D3DXFX_DONOTSAVESTATE = 1;
inline constexpr DWORD D3DXFX_DONOTSAVESHADERSTATE = 2;
inline constexpr DWORD D3DXFX_DONOTSAVESAMPLERSTATE = 4;
inline constexpr DWORD D3DXFX_NOT_CLONEABLE = 0x800;

// ---------------------------------------------------------------------------------------------
// Texture loader
// ---------------------------------------------------------------------------------------------

// Decodes a JPEG, PNG, BMP or TGA image held in memory into a new texture: A8R8G8B8, or L8 for
// single-channel images, at the image's own size (width and height D3DX_DEFAULT keep it; this
// project does not round up to powers of two), with a full mip chain for mipLevels 0 or
// D3DX_DEFAULT. Undecodable data gives D3DXERR_INVALIDDATA, missing data D3DERR_INVALIDCALL; in
// both cases *texture is null and nothing is created.
HRESULT D3DXCreateTextureFromFileInMemoryEx(IDirect3DDevice9* device, const void* data,
                                            UINT dataSize, UINT width, UINT height, UINT mipLevels,
                                            DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                            DWORD filter, DWORD mipFilter, D3DCOLOR colorKey,
                                            D3DXIMAGE_INFO* sourceInfo, PALETTEENTRY* palette,
                                            IDirect3DTexture9** texture);

// ---------------------------------------------------------------------------------------------
// Effects
// ---------------------------------------------------------------------------------------------

// Parameters and techniques are addressed by their full name ("material.ambient",
// "pointLight[2].color", "matrixPalette[12]").
using D3DXHANDLE = const char*;

struct D3DXMACRO {
    const char* Name;
    const char* Definition;
};

struct ID3DXInclude;
struct ID3DXEffectPool;

struct ID3DXBuffer : IUnknown {
    virtual void* GetBufferPointer() = 0;
    virtual DWORD GetBufferSize() = 0;
};

struct ID3DXEffect : IUnknown {
    virtual HRESULT SetTechnique(D3DXHANDLE technique) = 0;
    virtual D3DXHANDLE GetCurrentTechnique() = 0;
    virtual HRESULT Begin(UINT* passes, DWORD flags) = 0;
    virtual HRESULT BeginPass(UINT pass) = 0;
    virtual HRESULT CommitChanges() = 0;
    virtual HRESULT EndPass() = 0;
    virtual HRESULT End() = 0;

    virtual HRESULT SetBool(D3DXHANDLE parameter, BOOL value) = 0;
    virtual HRESULT SetInt(D3DXHANDLE parameter, INT value) = 0;
    virtual HRESULT SetFloat(D3DXHANDLE parameter, float value) = 0;
    virtual HRESULT SetFloatArray(D3DXHANDLE parameter, const float* values, UINT count) = 0;
    virtual HRESULT SetVector(D3DXHANDLE parameter, const D3DXVECTOR4* vector) = 0;
    virtual HRESULT SetMatrix(D3DXHANDLE parameter, const D3DXMATRIX* matrix) = 0;
    virtual HRESULT SetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9* texture) = 0;

    virtual HRESULT GetBool(D3DXHANDLE parameter, BOOL* value) = 0;
    virtual HRESULT GetInt(D3DXHANDLE parameter, INT* value) = 0;
    virtual HRESULT GetFloat(D3DXHANDLE parameter, float* value) = 0;
    virtual HRESULT GetFloatArray(D3DXHANDLE parameter, float* values, UINT count) = 0;
    virtual HRESULT GetVector(D3DXHANDLE parameter, D3DXVECTOR4* vector) = 0;
    virtual HRESULT GetMatrix(D3DXHANDLE parameter, D3DXMATRIX* matrix) = 0;
    virtual HRESULT GetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9** texture) = 0;
};

// Creates an effect from the bytes of a compiled effect file (".fxo"). Malformed data fails with
// D3DXERR_INVALIDDATA, writes a message naming the problem to *errors when errors is given, and
// creates nothing.
HRESULT D3DXCreateEffect(IDirect3DDevice9* device, const void* data, UINT dataLength,
                         const D3DXMACRO* defines, ID3DXInclude* include, DWORD flags,
                         ID3DXEffectPool* pool, ID3DXEffect** effect, ID3DXBuffer** errors);
