-- The cooperative's sixteen tables and the stock journal. Load into an empty database with the mariadb client:
--   mariadb -u <admin> <database> < db/schema.sql
-- Every key is an auto-increment Id. References are plain columns (no foreign keys): deleting a
-- document header must leave its lines behind, and the reference screens check usage themselves.
-- baza and nayavnistvmagazuni are written by positional inserts, so their column order is fixed.

CREATE TABLE tovary (
  Id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  NazvaTovary VARCHAR(40),
  MarkaTovary VARCHAR(30)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE viddilu (
  Id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  NazvaViddily VARCHAR(43),
  MisceRoztash VARCHAR(40)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE posadu (
  Id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  NazvaPosadu VARCHAR(32)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE magazunu (
  Id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  NazvaMagazuny VARCHAR(32),
  AdresaMagazuny VARCHAR(40),
  IdSpivrobitnuka INT
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- IdMagazuny holds the decimal text of a magazunu.Id and is joined to it by value.
CREATE TABLE spivrobitnuku (
  Id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  PIB VARCHAR(40),
  DataNarodgennya DATE,
  PasportniDani VARCHAR(8),
  IPN DOUBLE,
  DataVlash DATE,
  Adresa VARCHAR(40),
  Telefon VARCHAR(15),
  IdViddily INT,
  IdPosadu INT,
  Oklad DOUBLE,
  IdMagazuny VARCHAR(11)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE postachalnuku (
  Id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  NazvaPostachalnuka VARCHAR(50),
  Adresa VARCHAR(50),
  Telefon VARCHAR(15),
  KodEDRPOU DOUBLE
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE nadhodgennya (
  Id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  IdPostachalnuka INT,
  IdSpivrobitnuka INT,
  DataNadhodgenya DATE
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE chonadishlo (
  Id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  IdTovary INT,
  IdNadhodgennya INT,
  Kilkist DOUBLE,
  Cina DOUBLE,
  KEY chonadishlo_nadhodgennya (IdNadhodgennya),
  KEY chonadishlo_tovary (IdTovary)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- One row per article: the unique key keeps it so when two clerks post at the same moment.
CREATE TABLE baza (
  Id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  IdTovary INT,
  KilkistNaBazi DOUBLE,
  UNIQUE KEY baza_tovary (IdTovary)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE rozpodil (
  Id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  IdMagazuny INT,
  IdSpivrobitnuka INT,
  DataRozpodily DATE
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE pozuciirozpodily (
  Id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  IdRozpodily INT,
  IdTovary INT,
  Kilkist DOUBLE,
  CinaPostachannya DOUBLE,
  KEY pozuciirozpodily_rozpodil (IdRozpodily),
  KEY pozuciirozpodily_tovary (IdTovary)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- One row per shop and article, kept so by the unique key.
CREATE TABLE nayavnistvmagazuni (
  Id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  IdMagazuny INT,
  IdTovary INT,
  Kilkist DOUBLE,
  CinaOblikova DOUBLE,
  CinaRozdribna DOUBLE,
  UNIQUE KEY nayavnistvmagazuni_magazun_tovar (IdMagazuny, IdTovary),
  KEY nayavnistvmagazuni_tovary (IdTovary)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE reveziyamagazuny (
  Id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  IdMagazuny INT,
  IdTovary INT,
  Kilkist DOUBLE,
  CinaRozdribna DOUBLE,
  Data DATE,
  KEY reveziyamagazuny_magazun (IdMagazuny),
  KEY reveziyamagazuny_tovary (IdTovary)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE reviziyabazu (
  Id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  IdSpivrobitnuka INT,
  Dokyment VARCHAR(32),
  DataRevizii DATE
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE pozuciireviziibazu (
  Id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  IdRevizii INT,
  IdTovary INT,
  Kilkist DOUBLE,
  Cina DOUBLE,
  KEY pozuciireviziibazu_revizii (IdRevizii),
  KEY pozuciireviziibazu_tovary (IdTovary)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE vurychka (
  Id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  IdMagazuny INT,
  IdSpivrobitnuka INT,
  Syma DOUBLE,
  Data DATE,
  KEY vurychka_magazun (IdMagazuny),
  KEY vurychka_spivrobitnuka (IdSpivrobitnuka)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- The stock journal: one row for every change of baza and nayavnistvmagazuni, written in the same
-- transaction as the change, so that every quantity that stands is explained by its rows.
-- VydDokumenta names what moved the stock ('надходження', 'розподіл', or 'залишок на початок' for
-- the quantity a stock row already held when the journal began) and IdDokumenta that document's Id;
-- IdMagazuny is NULL for the base warehouse. Kilkist is the signed change, Zalyshok the quantity
-- after it. Komanda is shared by every row one posting or transfer wrote and by no other command:
-- it is how a command whose COMMIT was cut off is looked up afterwards.
CREATE TABLE ruhtovariv (
  Id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  Moment DATETIME(6) NOT NULL,
  Korystuvach VARCHAR(128) NOT NULL,
  VydDokumenta VARCHAR(20) NOT NULL,
  IdDokumenta INT,
  IdTovary INT,
  IdMagazuny INT,
  Kilkist DOUBLE NOT NULL,
  Zalyshok DOUBLE NOT NULL,
  Komanda CHAR(36) CHARACTER SET ascii NOT NULL,
  KEY ruhtovariv_tovar (IdTovary, IdMagazuny, Id),
  KEY ruhtovariv_komanda (Komanda),
  KEY ruhtovariv_dokument (IdDokumenta)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;
