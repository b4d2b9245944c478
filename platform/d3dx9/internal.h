// Pieces of the D3DX stand-in shared between its files.
#pragma once

#include <d3dx9.h>

namespace d3dx9 {

HRESULT CreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite);

}  // namespace d3dx9
