// SPDX-License-Identifier: GPL-3.0-or-later
// The built-in capitals table and the capitals data file.
#include "disturbance/Hauptsta.h"

#include "common/RecordFile.h"
#include "common/SharedState.h"

#include <array>
#include <cstring>

namespace {

struct CapitalEntry
{
    int recordNumber;
    const char *country; // UTF-8 here, cp1252 in the records
    const char *capital;
};

// Spelled exactly as the presentation shows them and the question accepts them, repeats
// and oddities included (Türkei in Europe and Asia, Bamako for Malediven and Mali).
constexpr CapitalEntry CapitalEntries[] = {
    // Europe
    {1, "Albanien", "Tirana"},
    {2, "Andorra", "Andorra la Vella"},
    {3, "Belgien", "Brüssel"},
    {4, "Bulgarien", "Sofia"},
    {5, "Dänemark", "Kopenhagen"},
    {6, "Deutschland", "Berlin"},
    {7, "Finnland", "Helsinki"},
    {8, "Frankreich", "Paris"},
    {9, "Griechenland", "Athen"},
    {10, "Großbritannien", "London"},
    {11, "Irland", "Dublin"},
    {12, "Island", "Reykjavik"},
    {13, "Italien", "Rom"},
    {14, "Liechtenstein", "Vaduz"},
    {15, "Luxemburg", "Luxemburg"},
    {16, "Malta", "Valetta"},
    {17, "Monaco", "Monaco"},
    {18, "Niederlande", "Amsterdam"},
    {19, "Norwegen", "Oslo"},
    {20, "Österreich", "Wien"},
    {21, "Polen", "Warschau"},
    {22, "Portugal", "Lissabon"},
    {23, "Rumänien", "Bukarest"},
    {24, "San Marino", "San Marino"},
    {25, "Schweden", "Stockholm"},
    {26, "Schweiz", "Bern"},
    {27, "Rußland", "Moskau"},
    {28, "Spanien", "Madrid"},
    {29, "Türkei", "Ankara"},
    {30, "Ungarn", "Budapest"},
    {31, "Vatikanstadt", "Vatikanstadt"},
    {32, "Bosnien-Herzogewina", "Sarajevo"},
    {33, "Jugoslawien", "Belgrad"},
    {34, "Kroatien", "Zagreb"},
    {35, "Lettland", "Riga"},
    {36, "Litauen", "Wilna"},
    {37, "Moldavien", "Chisinau"},
    {38, "Slowakei", "Bratislava"},
    {39, "Slowenien", "Ljubljana"},
    {40, "Tschechische Republik", "Prag"},
    {41, "Ukraine", "Kiew"},
    {42, "Weißrußland", "Minsk"},
    {43, "Estland", "Tallin"},
    {44, "Mazedonien", "Skopje"},
    // Asia
    {50, "Afghanistan", "Kabul"},
    {51, "Armenien", "Jerewan"},
    {52, "Aserbaidschan", "Baku"},
    {53, "Bahrain", "Manama"},
    {54, "Bangladesch", "Dacca"},
    {55, "Bhutan", "Thimphu"},
    {56, "Brunei", "Bandar Seri Begawan"},
    {57, "China", "Peking"},
    {58, "Georgien", "Tiflis"},
    {59, "Indien", "Neu-Delhi"},
    {60, "Indonesien", "Jakarta"},
    {61, "Irak", "Bagdad"},
    {62, "Iran", "Teheran"},
    {63, "Israel", "Jerusalem"},
    {64, "Japan", "Tokio"},
    {65, "Jemen", "Sana"},
    {66, "Jordanien", "Amman"},
    {67, "Kambodscha", "Phnom Penh"},
    {68, "Kasachstan", "Alma-Ata"},
    {69, "Katar", "Dauha"},
    {70, "Kirgistan", "Bischkek"},
    {71, "Korea-Nord", "Pjöngjang"},
    {72, "Korea-Süd", "Seoul"},
    {73, "Kuwait", "Kuwait-Stadt"},
    {74, "Laos", "Vientiane"},
    {75, "Libanon", "Beirut"},
    {76, "Malaysia", "Kuala Lumpur"},
    {77, "Malediven", "Bamako"},
    {78, "Mongolei", "Ulan-Bator"},
    {79, "Myanmar", "Yangon"},
    {80, "Nepal", "Katmandu"},
    {81, "Oman", "Maskat"},
    {82, "Pakistan", "Islamabad"},
    {83, "Philippinen", "Manila"},
    {84, "Saudi-Arabien", "Riadh"},
    {85, "Singapur", "Singapur"},
    {86, "Sri Lanka", "Colombo"},
    {87, "Syrien", "Damaskus"},
    {88, "Tadschikistan", "Duschanbe"},
    {89, "Taiwan", "Taipeh"},
    {90, "Thailand", "Bangkok"},
    {91, "Türkei", "Ankara"},
    {92, "Turkmenistan", "Aschchabad"},
    {93, "Usbekistan", "Taschkent"},
    {94, "Vereinigte Arabische Emirate", "Abu Dhabi"},
    {95, "Vietnam", "Hanoi"},
    {96, "Zypern", "Nikosia"},
    // Africa
    {100, "Ägypten", "Kairo"},
    {101, "Algerien", "Algier"},
    {102, "Angola", "Luanda"},
    {103, "Äquatorial-Guinea", "Malabo"},
    {104, "Äthiopien", "Addis Abeba"},
    {105, "Benin", "Porto Novo"},
    {106, "Botswana", "Gaborone"},
    {107, "Burkina Faso", "Quagadougou"},
    {108, "Burundi", "Bujumbura"},
    {109, "Cote d'Ivoire", "Yamoussoukro"},
    {110, "Dschibuti", "Dschibuti-Stadt"},
    {111, "Eritrea", "Asmara"},
    {112, "Gabun", "Libreville"},
    {113, "Gambia", "Banjul"},
    {114, "Ghana", "Accra"},
    {115, "Guinea", "Conakry"},
    {116, "Guinea-Bissau", "Bissau"},
    {117, "Kamerun", "Yaounde"},
    {118, "Kap Verde", "Praia"},
    {119, "Kenia", "Nairobi"},
    {120, "Komoren", "Moroni"},
    {121, "Kongo", "Brazzaville"},
    {122, "Lesotho", "Maseru"},
    {123, "Liberia", "Monrovia"},
    {124, "Libyen", "Tripolis"},
    {125, "Madagaskar", "Antananarivo"},
    {126, "Malawi", "Lilongwe"},
    {127, "Mali", "Bamako"},
    {128, "Marokko", "Rabat"},
    {129, "Mauretanien", "Nouakchott"},
    {130, "Mauritius", "Port Louis"},
    {131, "Mosambik", "Maputo"},
    {132, "Namibia", "Windhuk"},
    {133, "Niger", "Niamey"},
    {134, "Nigeria", "Abuja"},
    {135, "Rwanda", "Kigali"},
    {136, "Sambia", "Lusaka"},
    {137, "Sao Tome und Principe", "Sao Tome"},
    {138, "Senegal", "Dakar"},
    {139, "Seychellen", "Victoria"},
    {140, "Sierra Leone", "Freetown"},
    {141, "Somalia", "Mogadischu"},
    {142, "Südafrika", "Pretoria"},
    {143, "Sudan", "Khartum"},
    {144, "Swasiland", "Mbabane"},
    {145, "Tansania", "Dodoma"},
    {146, "Togo", "Lome"},
    {147, "Tschad", "N'Djamena"},
    {148, "Tunesien", "Tunis"},
    {149, "Uganda", "Kampala"},
    {150, "Zaire", "Kinshasa"},
    {151, "Zentralafrik. Republik", "Bangui"},
    {152, "Zimbabwe", "Harare"},
    // America
    {160, "Antigua und Barbuda", "Saint John's"},
    {161, "Argentinien", "Buenos Aires"},
    {162, "Bahamas", "Nassau"},
    {163, "Barbados", "Bridgetown"},
    {164, "Belize", "Belmopan"},
    {165, "Bolivien", "Sucre"},
    {166, "Brasilien", "Brasilia"},
    {167, "Chile", "Santiago"},
    {168, "Costarica", "San Jose"},
    {169, "Dominica", "Roseau"},
    {170, "Dominikanische Republik", "Santo Domingo"},
    {171, "Ecuador", "Quito"},
    {172, "El Salvador", "San Salvador"},
    {173, "Grenada", "St. George's"},
    {174, "Guatemala", "Guatemala-Stadt"},
    {175, "Guyana", "Georgetown"},
    {176, "Haiti", "Port-au-Prince"},
    {177, "Honduras", "Tegucigalpa"},
    {178, "Jamaika", "Kingston"},
    {179, "Kanada", "Ottawa"},
    {180, "Kolumbien", "Bogota"},
    {181, "Kuba", "Havanna"},
    {182, "Mexiko", "Mexiko-Stadt"},
    {183, "Nicaragua", "Managua"},
    {184, "Panama", "Panama-Stadt"},
    {185, "Paraguay", "Asuncion"},
    {186, "Peru", "Lima"},
    {187, "Saint Kitts und Nevis", "Basseterre"},
    {188, "Saint Lucia", "Castries"},
    {189, "Saint Vincent u. Grenadinen", "Kingstown"},
    {190, "Surinam", "Paramaribo"},
    {191, "Trinidad und Tobago", "Port of Spain"},
    {192, "Uruguay", "Montevideo"},
    {193, "USA", "Washington D.C."},
    {194, "Venezuela", "Caracas"},
    // Australia and Oceania
    {200, "Australien", "Canberra"},
    {201, "Fidschi", "Suva"},
    {202, "Kiribati", "Bairki"},
    {203, "Marshall-Inseln", "Dalap-Uliga-Darrit"},
    {204, "Nauru", "Yaren"},
    {205, "Neuseeland", "Wellington"},
    {206, "Palau", "Koror"},
    {207, "Papua-Neuguinea", "Port Moresby"},
    {208, "Salomonen", "Honiara"},
    {209, "Samoa-West", "Apia"},
    {210, "Tonga", "Nuku'alofa"},
    {211, "Tuvalu", "Vaiaku auf Funafuti"},
    {212, "Vanuata", "Port Vila"},
};

std::array<char, CapitalsTableSize> CapitalsTable{};

char *RecordPointer(int recordNumber)
{
    return CapitalsTable.data() + (recordNumber - 1) * CapitalRecordSize;
}

// All 220 records in file order; the caller's data stays untouched when the file fails.
QByteArray ReadCapitalRecords(RecordFile &file)
{
    QByteArray bytes;
    bytes.reserve(CapitalsTableSize);
    for (int record = 0; record < CapitalRecordCount; ++record)
        bytes.append(file.Read());
    return bytes;
}

} // namespace

QByteArray CapitalRecordBytes(const CapitalRecord &record)
{
    QByteArray bytes(CapitalRecordSize, '\0');
    CountryName(record.Country).store(bytes.data() + CountryOffset);
    CapitalName(record.Capital).store(bytes.data() + CapitalOffset);
    return bytes;
}

CapitalRecord CapitalRecordFromBytes(const QByteArray &bytes)
{
    if (bytes.size() < CapitalRecordSize)
        return {};
    return {CountryName::load(bytes.constData() + CountryOffset).text(),
            CapitalName::load(bytes.constData() + CapitalOffset).text()};
}

CapitalRecord CapitalRecordAt(const QByteArray &buffer, int recordNumber)
{
    if (!IsCapitalRecordNumber(recordNumber))
        return {};
    return CapitalRecordFromBytes(
        buffer.mid(qsizetype(recordNumber - 1) * CapitalRecordSize, CapitalRecordSize));
}

void FillCapitalsTable()
{
    CapitalsTable.fill('\0');
    for (const CapitalEntry &entry : CapitalEntries) {
        const QByteArray bytes = CapitalRecordBytes(
            {QString::fromUtf8(entry.country), QString::fromUtf8(entry.capital)});
        std::memcpy(RecordPointer(entry.recordNumber), bytes.constData(), CapitalRecordSize);
    }
}

void WriteAndReadCapitalsFile()
{
    RecordFile file(CapitalsFileName, CapitalRecordSize);
    // Reset never creates the file and never truncates it: bytes after record 220 stay.
    file.Reset();
    for (int record = 1; record <= CapitalRecordCount; ++record)
        file.Write(QByteArray(RecordPointer(record), CapitalRecordSize));
    file.Close();

    file.Reset();
    const QByteArray bytes = ReadCapitalRecords(file);
    file.Close();
    std::memcpy(CapitalsTable.data(), bytes.constData(), CapitalsTableSize);
}

void LoadCapitalsBuffer()
{
    RecordFile file(CapitalsFileName, CapitalRecordSize);
    // Only read here, so a write-protected file still serves a game.
    file.ResetReadOnly();
    const QByteArray bytes = ReadCapitalRecords(file);
    file.Close();
    CapitalsBuffer = bytes;
}

QByteArray CapitalsTableBytes()
{
    return QByteArray(CapitalsTable.data(), CapitalsTableSize);
}
