[match]
Aquile Corvane - Lupi Valmarina;Campionato Demo Basket
02/12/2026;20:30;2026/2027;Campionato Demo Basket;Andata;42;8;Regular season
AQU;Aquile Corvane;Franco Bellini;Dario Russo;21
LUP;Lupi Valmarina;Renato Gallo;Stefano Conte;17
Greco - Fadda - Lai;1800;9400;Corvane;Palasport Corvane;Demo Scout
Partita dimostrativa;Tempi da 25 secondi di filmato;;
[hometeam]
4;BIA-4;BIANCHI Marco;Marco;Bianchi;G
5;ESP-5;ESPOSITO Luca;Luca;Esposito;G
7;ROM-7;ROMANO Ivan;Ivan;Romano;A
9;COL-9;COLOMBO Sergio;Sergio;Colombo;A
11;RIC-11;RICCI Paolo;Paolo;Ricci;C
12;MAR-12;MARINO Enzo;Enzo;Marino;P
14;GRE-14;GRECO Fabio;Fabio;Greco;A
15;BRU-15;BRUNO Carlo;Carlo;Bruno;C
[oppteam]
3;DEL-3;DE LUCA Mirko;Mirko;De Luca;G
6;MAN-6;MANCINI Ugo;Ugo;Mancini;G
8;LOM-8;LOMBARDI Teo;Teo;Lombardi;A
10;MOR-10;MORETTI Aldo;Aldo;Moretti;A
13;BAR-13;BARBIERI Nino;Nino;Barbieri;C
20;FON-20;FONTANA Ezio;Ezio;Fontana;P
22;SAN-22;SANTORO Gino;Gino;Santoro;A
33;MAR-33;MARCHETTI Rino;Rino;Marchetti;C
[scout]
a06FI#LAZ9;1;0;1;5;0-2
a13AS+;1;0;1;5;0-2
*12FI#LAZ6;1;0;1;8;2-2
*05AS+;1;0;1;8;2-2
a13FI=HOZ9;1;0;1;12;2-2
*09PF=SH;1;0;1;12;2-2
a13FT#;1;0;1;13;2-3
a13FT#;1;0;1;13;2-4
*14FI#LAZ7;1;0;1;16;4-4
*12AS+;1;0;1;16;4-4
a10FI=HOZ5;1;0;1;19;4-4
*11RD+;1;0;1;20;4-4
*12FI=LAZ2;1;0;1;22;4-4
a13PF=SH;1;0;1;22;4-4
*12FT=;1;0;1;23;4-4
*12FT=;1;0;1;23;4-4
a13FI#HOZ6;1;0;1;26;4-6
*09FI#LAZ7;2;0;1;36;6-6
a20FI=LAZ5;2;0;1;39;6-6
*07RD+;2;0;1;40;6-6
*05F3=TPZ3;2;0;1;42;6-6
a33RD+;2;0;1;43;6-6
a13FI=DUZ1;2;0;1;45;6-6
*12RD+;2;0;1;46;6-6
*04FI#DUZ9;2;0;1;49;8-6
*04AS+;2;0;1;49;8-6
a33FG=JSZ4;2;0;1;51;8-6
*14RD+;2;0;1;52;8-6
*11FI+HOZ4;2;0;1;56;10-6
a06PF=SH;2;0;1;56;10-6
*11FT=;2;0;1;57;10-6
a33FI#DUZ9;2;0;1;59;10-8
a03F3=COZ7;3;0;1;68;10-8
*11RD+;3;0;1;69;10-8
*14FI#LAZ6;3;0;1;73;12-8
a06FI=LAZ5;3;0;1;76;12-8
a13RO+;3;0;1;77;12-8
a10FG=FAZ1;3;0;1;80;12-8
a13RO+;3;0;1;81;12-8
a08FG=FAZ4;3;0;1;83;12-8
*07RD+;3;0;1;84;12-8
*05FI=HOZ4;3;0;1;88;12-8
*11RO+;3;0;1;89;12-8
*05F3#COZ9;4;0;1;99;15-8
*14AS+;4;0;1;99;15-8
a10FI/LAZ4;4;0;1;102;15-8
*11BK+;4;0;1;102;15-8
a13RO+;4;0;1;103;15-8
a33TO=TR;4;0;1;106;15-8
*09F3=COZ3;4;0;1;108;15-8
a22RD+;4;0;1;109;15-8
a03FI=LAZ3;4;0;1;113;15-8
*$$RD+;4;0;1;114;15-8
*07FI=HOZ1;4;0;1;117;15-8
*15RO+;4;0;1;118;15-8
*04FG#JSZ6;4;0;1;122;17-8
a10F3#;4;0;1;124;17-11
a08F3#;4;0;1;125;17-14
a20F3#;4;0;1;126;17-17
*11FG#JSZ2;5;0;1;133;19-17
a08F3=TPZ5;5;0;1;136;19-17
*12RD+;5;0;1;137;19-17
*11FI=LAZ2;5;0;1;140;19-17
a08PF=SH;5;0;1;140;19-17
*11FT#;5;0;1;141;20-17
*11FT#;5;0;1;141;21-17
