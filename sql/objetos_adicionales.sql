-- What this program adds to a company database beyond its original tables. An
-- administrator adds it once per company database, with an account that may create tables
-- (the program's own account needs no such right):
--
--     vales --preparar-servidor          every company database the program knows, on the
--                                        server of the local network (--servidor-local,
--                                        --usuario-servidor, --clave-servidor-archivo)
--     mariadb --default-character-set=latin1 velmo < objetos_adicionales.sql
--
-- Every statement leaves an object that exists already as it is: running it again does no
-- harm. Without these objects the program works as before them, and says so once per
-- session.

-- The register of saved vouchers: each voucher's identity (32 hexadecimal digits, made when
-- it is first saved, on-line or off-line) with the number the server gave it, written in the
-- voucher's own transaction. A save whose answer was lost, an upload that was stopped, a
-- copy of an off-line store: the program looks the identity up before saving, and a voucher
-- registered here is never stored again. A voucher typed off-line also keeps the identity
-- of its store and its local number there, to trace it.
create table if not exists vales_identidad (
  id_vale char(32) not null primary key,
  nume_folio int not null,
  estacion char(32) not null default '',
  n_interno int not null default 0,
  grabado timestamp not null default current_timestamp,
  key nume_folio (nume_folio)
) engine=InnoDB default charset=latin1;
