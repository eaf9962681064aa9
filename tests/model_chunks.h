// Hand-built model files for the loader's tests: a little-endian chunk
// writer whose lengths are filled in when a chunk is closed, or forced to any
// value to build corrupt files.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct chunk_bytes {
    std::vector<unsigned char> b;
    std::vector<size_t> open;

    chunk_bytes& u8(unsigned v) {
        b.push_back((unsigned char)v);
        return *this;
    }
    chunk_bytes& u16(unsigned v) { return u8(v & 0xff).u8((v >> 8) & 0xff); }
    chunk_bytes& u32(uint32_t v) { return u16(v & 0xffff).u16(v >> 16); }
    chunk_bytes& f32(float f) {
        uint32_t bits;
        std::memcpy(&bits, &f, 4);
        return u32(bits);
    }
    chunk_bytes& str(const std::string& s) {
        b.insert(b.end(), s.begin(), s.end());
        return u8(0);
    }
    chunk_bytes& text(const std::string& s) {  // no terminator
        b.insert(b.end(), s.begin(), s.end());
        return *this;
    }
    // A chunk whose length is set when it ends.
    chunk_bytes& begin(unsigned id) {
        open.push_back(b.size());
        return u16(id).u32(0);
    }
    chunk_bytes& end() {
        size_t at = open.back();
        open.pop_back();
        uint32_t length = (uint32_t)(b.size() - at);
        for (int i = 0; i < 4; ++i) b[at + 2 + i] = (unsigned char)(length >> (8 * i));
        return *this;
    }
    // A header with a given length, for corrupt shapes.
    chunk_bytes& header(unsigned id, uint32_t length) { return u16(id).u32(length); }

    // Vertex list of points as the file stores them (Z-up).
    chunk_bytes& vertices(const std::vector<float>& xyz) {
        begin(0x4110).u16((unsigned)(xyz.size() / 3));
        for (float f : xyz) f32(f);
        return end();
    }
    // Face list (a, b, c triples), left open so groups can follow inside it.
    chunk_bytes& faces_begin(const std::vector<unsigned>& abc) {
        begin(0x4120).u16((unsigned)(abc.size() / 3));
        for (size_t i = 0; i < abc.size(); i += 3) u16(abc[i]).u16(abc[i + 1]).u16(abc[i + 2]).u16(7);
        return *this;
    }
    chunk_bytes& group(const std::string& material, const std::vector<unsigned>& faces) {
        begin(0x4130).str(material).u16((unsigned)faces.size());
        for (unsigned f : faces) u16(f);
        return end();
    }
    chunk_bytes& material(const std::string& name, float r, float g, float b_, const std::string& map = "") {
        begin(0xAFFF).begin(0xA000).str(name).end();
        begin(0xA020).begin(0x0010).f32(r).f32(g).f32(b_).end().end();
        if (!map.empty()) begin(0xA200).begin(0xA300).str(map).end().end();
        return end();
    }
};

// main > editor > body.
inline std::vector<unsigned char> model_file(const chunk_bytes& body) {
    chunk_bytes out;
    out.begin(0x4D4D).begin(0x3D3D);
    out.b.insert(out.b.end(), body.b.begin(), body.b.end());
    return out.end().end().b;
}

// One object named `name` with a triangle mesh of the given points and faces.
inline chunk_bytes& mesh_object_chunk(chunk_bytes& c, const std::string& name, const std::vector<float>& xyz,
                                      const std::vector<unsigned>& abc) {
    c.begin(0x4000).str(name).begin(0x4100).vertices(xyz).faces_begin(abc).end();
    return c.end().end();
}
