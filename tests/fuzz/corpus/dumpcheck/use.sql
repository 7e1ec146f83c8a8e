SET NAMES utf8mb4;
USE mysql;
INSERT INTO `tovary` VALUES (10,'after');
