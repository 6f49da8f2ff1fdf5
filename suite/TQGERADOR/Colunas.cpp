#include "suite/TQGERADOR/Colunas.h"

#include <charconv>
#include <string_view>

#include "df/tqlibex/ArquivoIni.h"
#include "df/tqlibex/TQPath.h"
#include "suite/TQGERADOR/Relatorio.h"

namespace gerador {

namespace {

constexpr const char* kArquivoRelatorios = "Relatorios.ini";
constexpr const char* kChaveCampos = "Campos";
constexpr int64_t kCamposPadrao[] = {101, 102, 103, 104, 105};

std::string_view Apara(std::string_view s)
{
    const size_t ini = s.find_first_not_of(" \t");
    if (ini == std::string_view::npos)
        return {};
    return s.substr(ini, s.find_last_not_of(" \t") - ini + 1);
}

} // namespace

std::vector<int64_t> CamposEscolhidos(const std::string& diretorioDados, const std::string& relatorio)
{
    std::vector<int64_t> campos;
    std::string valor;
    if (TQIniLeTexto(TQIniLeArquivo(CTQPath::Combina(diretorioDados, kArquivoRelatorios)), relatorio, kChaveCampos, valor)) {
        std::string_view resto = valor;
        while (!resto.empty()) {
            const size_t virgula = resto.find(',');
            const std::string_view item = Apara(resto.substr(0, virgula));
            resto.remove_prefix(virgula == std::string_view::npos ? resto.size() : virgula + 1);
            int64_t codigo = 0;
            const auto [fim, erro] = std::from_chars(item.data(), item.data() + item.size(), codigo);
            if (erro == std::errc() && fim == item.data() + item.size() && !TituloDoCampo(codigo).empty())
                campos.push_back(codigo);
        }
    }
    if (campos.empty())
        campos.assign(std::begin(kCamposPadrao), std::end(kCamposPadrao));
    return campos;
}

} // namespace gerador
